#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/control_table.h"

namespace tarnwell {
namespace {

TEST(ControlTable, NamesAndIdsAreUnique) {
    std::set<std::string_view> names;
    std::set<int> ids;
    for (const ControlDecl& d : AllControls()) {
        EXPECT_TRUE(names.insert(d.name).second) << d.name;
        EXPECT_TRUE(ids.insert(d.id).second) << d.name;
        EXPECT_EQ(FindControl(d.name), &d);
        EXPECT_EQ(FindControl(d.id), &d);
    }
}

TEST(ControlTable, StoredPropertiesGiveTheSettingsKeysInListOrder) {
    const char* expected[kStoredPropertyCount] = {
        "AOLAllCB_Checked", "AOLCookFilesCB_Checked", "AOLDropDownCB_Checked", "AOLHistFilesCB_Checked",
        "AOLIETempFilesCB_Checked", "AOLToolBarCB_Checked", "AOLDeskbarCB_Checked", "AOLTempFilesCB_Checked",
        "AOLPathEdit_Text", "CHKFilesCB_Checked", "IEAllCB_Checked", "IEAutoCB_Checked", "IECookFilesCB_Checked",
        "IEDropDownCB_Checked", "IEHistFilesCB_Checked", "IEIndexCB_Checked", "IETempFilesCB_Checked",
        "IEGoogleCB_Checked", "IEYahooCB_Checked", "IEToolBarCB_Checked", "MPAllCB_Checked", "NSAllCB_Checked",
        "NSCookFilesCB_Checked", "NSDropDownCB_Checked", "NSHistFilesCB_Checked", "NSPathEdit_Text",
        "NSTempFilesCB_Checked", "NSToolBarCB_Checked", "OPAllCB_Checked", "OPCookFilesCB_Checked",
        "OPHistFilesCB_Checked", "OPPathEdit_Text", "OPSessionCB_Checked", "OPTempFilesCB_Checked",
        "ProtectCB_Checked", "QTRecentFilesCB_Checked", "RecentFilesCB_Checked", "RecycleFilesCB_Checked",
        "RPRecentFilesCB_Checked", "TempFilesCB_Checked", "WAllCB_Checked", "WFindFieldsCB_Checked",
        "WMPRecentFilesCB_Checked", "WRunFieldCB_Checked", "WStartLoadCB_Checked", "WComDlgCB_Checked",
        "WUserAssistCB_Checked", "TransBar_Position", "BossKeyCB_Checked", "StealthCB_Checked",
        "AutoCloseSweepCB_Checked", "WinStartCB_Checked", "SnuffetCB_Checked", "HideIconCB_Checked",
        "AOLProfileCombo_Tag", "NSProfileCombo_Tag", "FFAllCB_Checked", "FFCookFilesCB_Checked",
        "FFFormHistCB_Checked", "FFHistFilesCB_Checked", "FFProfileCombo_Tag", "FFPathEdit_Text",
        "FFTempFilesCB_Checked", "FFPasswordsCB_Checked", "FFDownManCB_Checked", "FFGBarCB_Checked",
        "FFYBarCB_Checked", "RandOverCB_Checked", "ScrambleCB_Checked", "FlushBufferCB_Checked",
        "ZeroFileCB_Checked", "OverMinCB_Checked", "EncryptEdit_Value", "PopCount_Text", "FlashSOCB_Checked",
        "ShockwaveCB_Checked", "VintrelCB_Checked", "PlugCB_Checked", "PAllCB_Checked", "StealthHK_HotKey",
    };
    const auto stored = StoredControls();
    ASSERT_EQ(stored.size(), static_cast<size_t>(kStoredPropertyCount));
    for (int i = 0; i < kStoredPropertyCount; ++i) {
        ASSERT_NE(stored[i], nullptr) << "no control at place " << i + 1;
        const std::string key =
            std::string(stored[i]->name) + "_" + std::string(PropertyName(StoredPropertyOf(*stored[i])));
        EXPECT_EQ(key, expected[i]) << "place " << i + 1;
    }
}

TEST(ControlTable, DefaultsOfStoredProperties) {
    const std::set<std::string_view> checkedByDefault = {
        "ProtectCB", "QTRecentFilesCB", "RPRecentFilesCB", "WMPRecentFilesCB", "BossKeyCB", "HideIconCB",
        "RandOverCB", "ScrambleCB", "ZeroFileCB", "OverMinCB", "PlugCB"};
    for (const ControlDecl* d : StoredControls()) {
        if (d->kind == ControlKind::CheckBox) {
            EXPECT_EQ(d->initial, checkedByDefault.count(d->name) ? "True" : "False") << d->name;
        }
    }
    EXPECT_EQ(FindControl("TransBar")->initial, "0");
    EXPECT_EQ(FindControl("EncryptEdit")->initial, "1");
    EXPECT_EQ(FindControl("PopCount")->initial, "0");
    EXPECT_EQ(FindControl("StealthHK")->initial, "49242");
}

TEST(ControlTable, EveryTabHasItsSheetAndControlsFitThePage) {
    int sheets = 0;
    for (const ControlDecl& d : AllControls()) {
        if (d.kind == ControlKind::Page && d.page == PageId::Main) ++sheets;
        if (static_cast<int>(d.page) >= kTabPageCount || (d.flags & F_HIDDEN)) continue;
        EXPECT_GE(d.x, 0) << d.name;
        EXPECT_LE(d.x + d.w, 425) << d.name;
        EXPECT_LE(d.y + d.h, 350) << d.name;
    }
    EXPECT_EQ(sheets, kTabPageCount);
}

}  // namespace
}  // namespace tarnwell

namespace tarnwell {
namespace {

TEST(ControlTable, BoundedControlsHaveTheirRanges) {
    EXPECT_EQ(RangeOf(*FindControl("EncryptEdit")).min, 1);
    EXPECT_EQ(RangeOf(*FindControl("EncryptEdit")).max, 99);
    EXPECT_EQ(RangeOf(*FindControl("TransBar")).max, 90);
    EXPECT_EQ(RangeOf(*FindControl("IEAllCB")).max, 0);
}

}  // namespace
}  // namespace tarnwell
