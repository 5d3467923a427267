// Event handlers of the main window's own controls, and the one place
// where every control's events are wired.
#include <algorithm>
#include <cstdio>

#include "app/details_form_win.h"
#include "app/main_form.h"
#include "app/path_macros.h"
#include "app/profile_folders.h"
#include "app/registry_win.h"
#include "base/setting_value.h"
#include "app/sweep_sequence.h"
#include "app/system_info_win.h"
#include "categories/aol_locate.h"
#include "categories/browser_history.h"
#include "engine/registry_items.h"
#include "resident/index_removal_win.h"
#include "resident/service_control.h"
#include "shredder/shred_dialogs.h"
#include "base/handles.h"
#include "ui/folder_dialog.h"
#include "ui/late_bound.h"
#include "ui/message_pump.h"

namespace tarnwell {

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Tarnwell";
constexpr const char* kUpdatePage = "http://updates.tarnwell.example/tarnwell/update.htm";
constexpr const char* kTarnwellKey = "Software\\Tarnwell";
constexpr const char* kUpdateUrlValue = "UpdateURL";

}  // namespace

void TMainForm::WireEvents() {
    CB(ctl::WStartLoadCB).OnClick = [this] { WStartLoadCBClick(); };
    CB(ctl::IEAllCB).OnClick = [this] { ie_->Category().AllBoxClick(); };
    CB(ctl::WAllCB).OnClick = [this] { windows_->Category().AllBoxClick(); };
    CB(ctl::NSAllCB).OnClick = [this] { netscape_->Category().AllBoxClick(); };
    CB(ctl::FFAllCB).OnClick = [this] { fireFox_->Category().AllBoxClick(); };
    CB(ctl::MPAllCB).OnClick = [this] { mediaPlayers_->Category().AllBoxClick(); };
    controls_.Get<TButton>(ctl::MPAnalyzeBTN).OnClick = [this] { mediaPlayers_->Category().Analyze(); };
    controls_.Get<TButton>(ctl::MPSweepBTN).OnClick = [this] { MPSweepBTNClick(); };
    WirePluginsTab();
    WireItemDetails();
    controls_.Get<TTrackBar>(ctl::TransBar).OnChange = [this] { TransBarChange(); };
    controls_.Get<TButton>(ctl::CloseBTN).OnClick = [this] { CloseBTNClick(); };
    controls_.Get<TButton>(ctl::StealthSetBTN).OnClick = [this] { StealthSetBTNClick(); };
    CB(ctl::AutoCloseSweepCB).OnClick = [this] { AutoCloseSweepCBClick(); };
    CB(ctl::VintrelCB).OnClick = [this] { VintrelCBClick(); };
    CB(ctl::SnuffetCB).OnClick = [this] { SnuffetCBClick(); };
    controls_.Get<TButton>(ctl::ConfigBTN).OnClick = [this] { ConfigBTNClick(); };
    popupMenu_.SetOnClick(ctl::PopupManagerMNU, [this] { ConfigBTNClick(); });
    popupMenu_.SetOnClick(ctl::CheckforUpdatesMNU, [this] { CheckforUpdatesMNUClick(); });
    controls_.Get<TButton>(ctl::SweepAllBTN).OnClick = [this] { SweepAllMNUClick(); };
    controls_.Get<TButton>(ctl::IEAnalyzeBTN).OnClick = [this] { ie_->Category().Analyze(); };
    controls_.Get<TButton>(ctl::IESweepBTN).OnClick = [this] { IESweepBTNClick(); };
    controls_.Get<TButton>(ctl::WAnalyzeBTN).OnClick = [this] { windows_->Category().Analyze(); };
    controls_.Get<TButton>(ctl::WSweepBTN).OnClick = [this] { WSweepBTNClick(); };
    controls_.Get<TButton>(ctl::NSAnalyzeBTN).OnClick = [this] { netscape_->Category().Analyze(); };
    controls_.Get<TButton>(ctl::NSSweepBTN).OnClick = [this] { NSSweepBTNClick(); };
    controls_.Get<TButton>(ctl::FFAnalyzeBTN).OnClick = [this] { fireFox_->Category().Analyze(); };
    controls_.Get<TButton>(ctl::FFSweepBTN).OnClick = [this] { FFSweepBTNClick(); };
    CB(ctl::OPAllCB).OnClick = [this] { opera_->Category().AllBoxClick(); };
    CB(ctl::AOLAllCB).OnClick = [this] { aol_->Category().AllBoxClick(); };
    controls_.Get<TButton>(ctl::AOLAnalyzeBTN).OnClick = [this] { aol_->Category().Analyze(); };
    controls_.Get<TButton>(ctl::AOLSweepBTN).OnClick = [this] { AOLSweepBTNClick(); };
    controls_.Get<TButton>(ctl::AOLPathEditBTN).OnClick = [this] { AOLPathEditBTNClick(); };
    controls_.Get<TButton>(ctl::LocateAOLBTN).OnClick = [this] { LocateAOLBTNClick(); };
    controls_.Get<TButton>(ctl::LocateAOL2BTN).OnClick = [this] { LocateAOLBTNClick(); };
    controls_.Get<TButton>(ctl::OPAnalyzeBTN).OnClick = [this] { opera_->Category().Analyze(); };
    controls_.Get<TButton>(ctl::OPSweepBTN).OnClick = [this] { OPSweepBTNClick(); };
    controls_.Get<TButton>(ctl::NSPathEditBTN).OnClick = [this] { NSPathEditBTNClick(); };
    controls_.Get<TButton>(ctl::FFPathEditBTN).OnClick = [this] { FFPathEditBTNClick(); };
    controls_.Get<TButton>(ctl::OPPathEditBTN).OnClick = [this] { OPPathEditBTNClick(); };

    controls_.Get<TButton>(ctl::AddDirBTN).OnClick = [this] { shredder_->AddDirBTNClick(); };
    controls_.Get<TButton>(ctl::AddFileBTN).OnClick = [this] { shredder_->AddFileBTNClick(); };
    controls_.Get<TButton>(ctl::RemoveFileBTN).OnClick = [this] { shredder_->RemoveFileBTNClick(); };
    controls_.Get<TButton>(ctl::ClearallBTN).OnClick = [this] { shredder_->ClearallBTNClick(); };
    controls_.Get<TButton>(ctl::ShredBTN).OnClick = [this] { shredder_->ShredBTNClick(); };
    controls_.Get<TButton>(ctl::StopBTN).OnClick = [this] { shredder_->StopBTNClick(); };

    // The Cookie Keeper opens on the tab of the family the button belongs to.
    const std::pair<int, int> keeperButtons[] = {{ctl::IECookKeepBTN, 0}, {ctl::AOLCookKeepBTN, 0},
                                                 {ctl::FFCookKeepBTN, 1}, {ctl::NSCookKeepBTN, 2},
                                                 {ctl::FlashCookKeepBTN, 3}};
    for (const auto& [button, tab] : keeperButtons) {
        controls_.Get<TButton>(button).Tag = tab;
        controls_.Get<TButton>(button).OnClick = [this, tab = tab] { cookieKeep_->ShowModal(tab); };
    }
    popupMenu_.SetOnClick(ctl::CookieKeeperMNU, [this] { cookieKeep_->ShowModal(TCookieKeep::kLastActiveTab); });

    trayIcon_->OnClick = [this](POINT at) { popupMenu_.Popup(hwnd_, at); };
    popupMenu_.SetOnClick(ctl::ExitTarnwellMNU, [] {});  // only closes the menu
    popupMenu_.SetOnClick(ctl::ShutdownMNU, [this] { ShutdownMNUClick(); });
    popupMenu_.SetOnClick(ctl::SweepAllMNU, [this] { SweepAllMNUClick(); });
    popupMenu_.SetOnClick(ctl::SweepIEHistMNU, [this] { IESweepBTNClick(); });
    popupMenu_.SetOnClick(ctl::SweepMPHistMNU, [this] { MPSweepBTNClick(); });
    popupMenu_.SetOnClick(ctl::SweepNSHistMNU, [this] { NSSweepBTNClick(); });
    popupMenu_.SetOnClick(ctl::SweepWHistMNU, [this] { WSweepBTNClick(); });
    popupMenu_.SetOnClick(ctl::SweepPIHistMNU, [this] { PISweepBTNClick(); });
    popupMenu_.SetOnClick(ctl::SweepFFHistMNU, [this] { FFSweepBTNClick(); });
    popupMenu_.SetOnClick(ctl::SweepOPHistMNU, [this] { OPSweepBTNClick(); });
    popupMenu_.SetOnClick(ctl::SweepAOLHistMNU, [this] { AOLSweepBTNClick(); });
    popupMenu_.SetOnClick(ctl::LaunchTWCPMNU, [this] { LaunchTWCPMNUClick(); });
}

void TMainForm::WirePluginsTab() {
    CB(ctl::PAllCB).OnClick = [this] { plugins_->Category().AllBoxClick(); };
    controls_.Get<TButton>(ctl::PIAnalyzeBTN).OnClick = [this] { plugins_->Category().Analyze(); };
    controls_.Get<TButton>(ctl::PISweepBTN).OnClick = [this] { PISweepBTNClick(); };
    auto& names = controls_.Get<TCheckListBox>(ctl::CBList);
    names.OnClick = names.OnKeyPress = names.OnScroll = [this] { plugins_->FollowNames(); };
    names.OnDblClick = [this] { plugins_->OpenSelected(); };
    auto& risks = controls_.Get<TListBox>(ctl::PlugStatusBox);
    risks.WatchInput();
    risks.OnClick = risks.OnKeyPress = risks.OnScroll = [this] { plugins_->FollowRisks(); };
}

// Every risk label opens its item's details; on the Plugins tab a row of
// the risk list does.
void TMainForm::WireItemDetails() {
    for (TCategory* category : {&ie_->Category(), &aol_->Category(), &netscape_->Category(), &opera_->Category(),
                                &fireFox_->Category(), &mediaPlayers_->Category(), &windows_->Category()}) {
        for (const auto& [row, label] : category->RowLabels())
            controls_.Get<TRiskLabel>(label).OnDetails = [this, category, row = row] {
                ShowItemDetails(hwnd_, font_.get(), category->Report(row));
            };
    }
    controls_.Get<TListBox>(ctl::PlugStatusBox).OnDblClick = [this] {
        const int row = controls_.Get<TListBox>(ctl::PlugStatusBox).ItemIndex();
        TCategory& category = plugins_->Category();
        if (row >= 0 && static_cast<std::size_t>(row) < category.RowCount())
            ShowItemDetails(hwnd_, font_.get(), category.Report(static_cast<std::size_t>(row)));
    };
}

void TMainForm::ShutdownMNUClick() {
    const int answer = ::MessageBoxA(
        hwnd_, "Would you like to close Tarnwell (doing so will disable Auto Sweep and the Popup Killer)?",
        "Tarnwell", MB_YESNO | MB_ICONQUESTION | MB_TOPMOST);
    if (answer != IDYES) return;
    EndProgram();
}

void TMainForm::EndProgram() {
    CloseAllowed = true;
    ::PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

// The update page lives on the maker's site; an administrator may name a
// mirror under HKEY_LOCAL_MACHINE\Software\Tarnwell, value "UpdateURL".
void TMainForm::CheckforUpdatesMNUClick() {
    if (!WebFileInfo) {
        WebFileInfo = std::make_unique<TWebFileInfo>(hwnd_, [this] { EndProgram(); });
        WebFileInfo->CurrentVersion = "2.20";
        WebFileInfo->InfoTags = TarnwellTags();
        WebFileInfo->SetOptions(wfioAlwaysOverwrite | wfioDisplayUI | wfioDisplayReadMe | wfioRunUpdate |
                                wfioExitDuringUpdate);
        WebFileInfo->SetHomeURL(kUpdatePage);
        if (const auto mirror = ReadRegistryString(HKEY_LOCAL_MACHINE, kTarnwellKey, kUpdateUrlValue))
            WebFileInfo->SetHomeURL(*mirror);
    }
    WebFileInfo->CheckForUpdate();
}

void TMainForm::CreateCategories() {
    RegistryHooks hooks;
    hooks.ProcessMessages = [] { ProcessMessages(); };
    const auto removal = [this] { return SecurityTabRemoval(); };
    // Until start-up has found the profile root no folder may be walked.
    const auto mayDestroyBelow = [this](const std::string& folder) {
        return folderGuard_ && folderGuard_->MayDestroyBelow(folder);
    };
    const CategoryServices services{controls_, popupMenu_, ctl::SweepAllBTN, ctl::SweepAllMNU, locations_,
                                    removal,   hooks,      hwnd_,           mayDestroyBelow};
    CreateUrlHistory();
    IEStores ieStores{IECache, *UrlHistory,
                      [this] { return cookieKeep_ ? cookieKeep_->List(ctl::DstList) : std::nullopt; }, os_,
                      [this] { HandProtectedStorageToService(SvcMan.get(), IsUserAdministrator()); }};
    ie_ = std::make_unique<TIECategory>(services, std::move(ieStores));
    windows_ = std::make_unique<TWindowsCategory>(services);
    const auto keepList = [this](int list) {
        return [this, list] { return cookieKeep_ ? cookieKeep_->List(list) : std::nullopt; };
    };
    netscape_ = std::make_unique<TNetscapeCategory>(
        services, MozillaTabStores{controls_.Get<TComboBox>(ctl::NSProfileCombo), keepList(ctl::NSDstList), os_});
    fireFox_ = std::make_unique<TFireFoxCategory>(
        services, MozillaTabStores{controls_.Get<TComboBox>(ctl::FFProfileCombo), keepList(ctl::FFDstList), os_});
    opera_ = std::make_unique<TOperaCategory>(services);
    aol_ = std::make_unique<TAolCategory>(services, AolTabStores{controls_.Get<TComboBox>(ctl::AOLProfileCombo),
                                                                 *UrlHistory, keepList(ctl::DstList),
                                                                 [] { return GetUserSidText(); }});
    mediaPlayers_ = std::make_unique<TMediaPlayersCategory>(services, [this] {
        FlashKeeping keeping;
        if (!cookieKeep_) return keeping;
        keeping.sharedObjects = cookieKeep_->SharedObjectsPath();
        if (const std::optional<KeepList> sites = cookieKeep_->List(ctl::FlashSrcList)) keeping.sites = sites->Items();
        keeping.kept = cookieKeep_->List(ctl::FlashDstList);
        return keeping;
    });
    plugins_ = std::make_unique<TPluginsCategory>(
        services, PluginsTabLists{controls_.Get<TCheckListBox>(ctl::CBList), controls_.Get<TListBox>(ctl::PlugStatusBox),
                                  controls_.Get<TListBox>(ctl::PlugTagBox)});
    shredder_ = std::make_unique<TShredder>(controls_.Get<TListBox>(ctl::ShredListBox),
                                            controls_.Get<TButton>(ctl::ShredBTN), ShredderDialogs(hwnd_), removal);
}

// Without the browser's history store the program still runs: the history
// step of a sweep then does nothing, and the reason goes to the debugger.
void TMainForm::CreateUrlHistory() {
    BrowserHistoryOpening opening = OpenBrowserHistoryStore();
    if (!opening.store) ::OutputDebugStringA(("Tarnwell: URL history unavailable: " + opening.failure).c_str());
    UrlHistory = std::make_unique<TUrlHistory>(std::move(opening.store));
    // A sweep agrees to the deletion of every entry.
    UrlHistory->OnDelete = [](const THistoryItem&, bool& del) { del = true; };
}

void TMainForm::TraceSweep(const char* category) {
    ::OutputDebugStringA((std::string("Tarnwell: sweep ") + category).c_str());
}

void TMainForm::IESweepBTNClick() {
    TraceSweep("Internet Explorer");
    ie_->Category().Sweep();
}

void TMainForm::WSweepBTNClick() {
    TraceSweep("Windows");
    windows_->Category().Sweep();
}

void TMainForm::NSSweepBTNClick() {
    TraceSweep("Netscape");
    netscape_->Category().Sweep();
}

void TMainForm::FFSweepBTNClick() {
    TraceSweep("FireFox");
    fireFox_->Category().Sweep();
}

void TMainForm::AOLSweepBTNClick() {
    TraceSweep("AOL");
    aol_->Category().Sweep();
}

void TMainForm::MPSweepBTNClick() {
    TraceSweep("Media Players");
    mediaPlayers_->Category().Sweep();
}

void TMainForm::PISweepBTNClick() {
    TraceSweep("Plugins");
    plugins_->Category().Sweep();
}

void TMainForm::OPSweepBTNClick() {
    TraceSweep("Opera");
    opera_->Category().Sweep();
}

std::optional<std::string> TMainForm::PickProfilePath(int edit, const char* word, const char* title,
                                                     const std::function<std::string(std::string)>& adjust) {
    const std::optional<std::string> picked = PickFolder(hwnd_, title, Edit(edit).Text());
    if (!picked) return std::nullopt;
    const std::string folder = adjust ? adjust(*picked) : WithTrailingBackslash(*picked);
    if (!DirectoryExists(folder) || !ConfirmManualPath(folder, word)) return std::nullopt;
    Edit(edit).SetText(folder);
    return folder;
}

void TMainForm::NSPathEditBTNClick() {
    const auto root = PickProfilePath(ctl::NSPathEdit, "Mozilla", "Customize Netscape Profile Settings Path:");
    if (root) netscape_->Profiles().ScanNewRoot(*root);
}

void TMainForm::FFPathEditBTNClick() {
    const auto root = PickProfilePath(ctl::FFPathEdit, "FireFox", "Customize FireFox Profile Settings Path:");
    if (root) fireFox_->Profiles().ScanNewRoot(*root);
}

void TMainForm::OPPathEditBTNClick() {
    const auto profile = PickProfilePath(ctl::OPPathEdit, "Opera", "Customize Opera Profile Settings Path:");
    if (profile) locations_.OperaDir = *profile;
}

// The edit shows the new folder before the user names are listed again,
// so they come from the folder just chosen.
void TMainForm::AOLPathEditBTNClick() {
    const auto organize = PickProfilePath(ctl::AOLPathEdit, "AOL", "Find the location of the AOL organize Directory:",
                                          [](std::string picked) {
                                              return AolOrganizeFolder(std::move(picked), [](const std::string& path) {
                                                  return tarnwell::DirectoryExists(path);
                                              });
                                          });
    if (!organize) return;
    locations_.AOLPath = *organize;
    ResetAOLProfiles(true);
}

void TMainForm::LocateAOLBTNClick() {
    const std::optional<std::string> organize =
        LocateDirectory(hwnd_, font_.get(), LocateStartFolder(locations_.ProfileRoot), "*organize*");
    if (organize) {
        Edit(ctl::AOLPathEdit).SetText(*organize);
        locations_.AOLPath = *organize;
    }
    ResetAOLProfiles(true);
}

void TMainForm::ResetAOLProfiles(bool resetIndex) {
    const std::string edit = Edit(ctl::AOLPathEdit).Text();
    if (!edit.empty() && edit != locations_.AOLPath) {
        if (DirectoryExists(edit)) aol_->Profiles().Rescan(edit, resetIndex);
        return;
    }
    if (locations_.AOLPath.empty() || !DirectoryExists(locations_.AOLPath)) return;
    Edit(ctl::AOLPathEdit).SetText(locations_.AOLPath);
    aol_->Profiles().Rescan(locations_.AOLPath, resetIndex);
}

bool TMainForm::ConfirmManualPath(const std::string& path, const char* word) const {
    return ::MessageBoxA(hwnd_, ManualPathQuestion(path, word).c_str(), "Confirm", MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

// The Security tab's options, read again whenever a removal asks for them.
RemovalContext TMainForm::SecurityTabRemoval() const {
    RemovalContext context;
    context.Options = [this] {
        RemovalOptions options;
        options.RandOver = CB(ctl::RandOverCB).Checked();
        options.Scramble = CB(ctl::ScrambleCB).Checked();
        options.FlushBuffer = CB(ctl::FlushBufferCB).Checked();
        options.ZeroFile = CB(ctl::ZeroFileCB).Checked();
        options.OverMin = CB(ctl::OverMinCB).Checked();
        // The field's value, not its text: a sweep may start while the
        // user has the field emptied for a moment.
        options.Passes = IntText(controls_.Get<TSpinEdit>(ctl::EncryptEdit).Value());
        return options;
    };
    context.ProcessMessages = [] { ProcessMessages(); };
    return context;
}

// Every category's Sweep in turn; the Windows sweep runs twice. File items
// keep scanning on their own threads while the next category starts.
void TMainForm::SweepAllMNUClick() {
    RunSweepSequence({
        [this] { ShowSweepingNotice(); },
        [this] { IESweepBTNClick(); },
        [this] { AOLSweepBTNClick(); },
        [this] { NSSweepBTNClick(); },
        [this] { OPSweepBTNClick(); },
        [this] { FFSweepBTNClick(); },
        [this] { MPSweepBTNClick(); },
        [this] { WSweepBTNClick(); },
        // The second Windows sweep is the one request a busy tab must not
        // drop: it runs once the first has ended.
        [this] { windows_->Category().SweepWhenIdle(); },
        [this] {
            if (CB(ctl::PlugCB).Checked()) PISweepBTNClick();
        },
    });
}

void TMainForm::WStartLoadCBClick() {
    RegKey run;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_READ | KEY_WRITE, run.put()) != ERROR_SUCCESS) return;
    if (CB(ctl::WStartLoadCB).Checked()) {
        ::RegDeleteValueA(run.get(), kRunValue);
        return;
    }
    // The file name is fixed: the Run entry starts the installed program.
    const std::string command = "\"" + ProgramDir + "Tarnwell.exe\" /autostart";
    ::RegSetValueExA(run.get(), kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>(command.size() + 1));
    ::RegFlushKey(run.get());
}

void TMainForm::TransBarChange() {
    // Layered windows exist from Windows 2000 on; elsewhere nothing changes.
    using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    static const auto setLayered = BindLater<SetLayered>("user32.dll", "SetLayeredWindowAttributes");
    const int position = controls_.Get<TTrackBar>(ctl::TransBar).Position();
    const LONG exStyle = ::GetWindowLongA(hwnd_, GWL_EXSTYLE);
    if (position == 0 || !setLayered) {
        ::SetWindowLongA(hwnd_, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
        return;
    }
    if (!(exStyle & WS_EX_LAYERED)) ::SetWindowLongA(hwnd_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    setLayered(hwnd_, 0, static_cast<BYTE>(AlphaForTransparency(position)), LWA_ALPHA);
}

void TMainForm::CloseBTNClick() { Hide(); }

// A settings file that cannot be written keeps its previous contents; the
// rest of the shut-down goes on. The failure is reported to a debugger and
// to the user only when the user asked to close (a message box during
// log-off would hold up Windows).
//
// A file that could not be read at start-up is left alone: the controls
// hold defaults, not what the file holds.
void TMainForm::SaveSettings() {
    if (settingsUnreadable_) return;
    const std::string file = ProgramDir + kSettingsFileName;
    formStorage_.SetIniFileName(file);
    const DWORD error = formStorage_.SaveFormPlacement();
    if (error == ERROR_SUCCESS) return;
    char text[512];
    std::snprintf(text, sizeof text,
                  "Tarnwell could not save its settings to %s (error %lu). The changes made since Tarnwell "
                  "started are lost; make sure the file and its folder can be written.",
                  file.c_str(), static_cast<unsigned long>(error));
    ::OutputDebugStringA(text);
    if (!sessionEnding_) ::MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONERROR | MB_TOPMOST);
}

void TMainForm::RegisterHotKeys() {
    hotKeys_ = std::make_unique<THotKeys>(hwnd_);
    hotKeys_->Register(CB(ctl::BossKeyCB).Checked(), CB(ctl::HideIconCB).Checked(),
                       controls_.Get<THotKey>(ctl::StealthHK).HotKey());
}

void TMainForm::UnregisterHotKeys() {
    if (hotKeys_) hotKeys_->Release();
}

void TMainForm::StealthSetBTNClick() {
    if (hotKeys_)
        hotKeys_->SetStealthKey(CB(ctl::HideIconCB).Checked(), controls_.Get<THotKey>(ctl::StealthHK).HotKey());
}

// The boxes are read at every press: a key whose box was unticked after
// start-up stays reserved but does nothing.
void TMainForm::HotKeyPressed(WPARAM id) {
    if (!hotKeys_) return;
    if (hotKeys_->IsStealthKey(id) && CB(ctl::HideIconCB).Checked() && trayIcon_) {
        trayIcon_->SetActive(!trayIcon_->Shown());
    } else if (hotKeys_->IsBossKey(id) && CB(ctl::BossKeyCB).Checked()) {
        ToggleBrowserWindows();
    }
}

void TMainForm::ShowNotice(const NoticeText& notice) {
    if (CB(ctl::StealthCB).Checked() || !trayIcon_ || !trayIcon_->Active()) return;
    if (popForm_) return popForm_->ShowNotice(notice);
    const bool shown = trayIcon_->ShowBalloon(notice.title, notice.text);
    ::OutputDebugStringA(("Tarnwell: balloon tip \"" + notice.title + (shown ? "\" shown" : "\" refused")).c_str());
}

void TMainForm::CloseNoticeWindow() { popForm_.reset(); }

void TMainForm::SnuffetCBClick() {
    if (CB(ctl::SnuffetCB).Checked())
        UnregisterPopupLibrary();
    else
        RegisterPopupLibrary();
}

void TMainForm::PopupListsSaved() {
    if (CB(ctl::SnuffetCB).Checked()) return;
    UnregisterPopupLibrary();
    RegisterPopupLibrary();
}

void TMainForm::VintrelCBClick() {
    const IndexRemovalPlaces places{locations_.IECacheDir, locations_.IEHistoryDir, locations_.CookieDir,
                                    locations_.ProfileRoot, ProgramDir};
    ArrangeIndexRemoval(os_, places, controls_.Find(ctl::EncryptEdit)->Text(), CB(ctl::VintrelCB).Checked());
}

LRESULT TMainForm::CopyDataMessage(const COPYDATASTRUCT* data) {
    if (!data) return 0;
    switch (ClassifyCopyData(static_cast<std::uint32_t>(data->dwData), data->lpData, data->cbData)) {
        case CopyData::NotOurs: return 0;
        case CopyData::Other: return 1;
        case CopyData::KillReport: PopupKilled(); return 1;
    }
    return 0;
}

// A burst of reports (one page opening several popups) counts once; a
// notice already showing takes the new count instead of a second one.
void TMainForm::PopupKilled() {
    const std::uint32_t now = ::GetTickCount();
    if (!CountsAsNewKill(now, lastKillTick_)) return;
    lastKillTick_ = now;
    // A count edited into something else in the settings file starts again.
    const unsigned long count = static_cast<unsigned long>(std::max(0, ParseInt(Edit(ctl::PopCount).Text()))) + 1;
    Edit(ctl::PopCount).SetText(std::to_string(count));
    ShowPopupNotice(count);
}

// Runs also when the box is restored at start-up.
void TMainForm::AutoCloseSweepCBClick() {
    if (CB(ctl::AutoCloseSweepCB).Checked())
        ::SetTimer(hwnd_, kBrowserWatchTimer, kAutomaticTimerInterval, nullptr);
    else
        ::KillTimer(hwnd_, kBrowserWatchTimer);
}

// After a log-on start: one Sweep All, five seconds after start-up.
void TMainForm::EnableAutoSweepTimer() { ::SetTimer(hwnd_, kAutoSweepTimer, kAutomaticTimerInterval, nullptr); }

void TMainForm::AutoTimerTimer() {
    ::KillTimer(hwnd_, kAutoSweepTimer);
    SweepAllMNUClick();
}

namespace {

BOOL CALLBACK SeeWindow(HWND window, LPARAM watch) {
    char className[80] = {}, title[257] = {};
    if (::GetClassNameA(window, className, sizeof className)) {
        ::GetWindowTextA(window, title, sizeof title);
        reinterpret_cast<TBrowserWatch*>(watch)->See(className, title);
    }
    return TRUE;  // every window is looked at
}

}  // namespace

// The browser watch: a browser whose last window closed since the previous
// tick has its history swept, with the media players' after any of them.
// No tick starts while one runs; the sweeps return while their walks go on.
void TMainForm::TimerTimer() {
    ::KillTimer(hwnd_, kBrowserWatchTimer);
    ::EnumWindows(SeeWindow, reinterpret_cast<LPARAM>(&browserWatch_));
    const std::vector<Browser> closed = browserWatch_.EndTick();
    if (!closed.empty() && CB(ctl::AutoCloseSweepCB).Checked()) {
        ShowSweepingNotice();
        for (Browser browser : closed) SweepClosedBrowser(browser);
        MPSweepBTNClick();
    }
    if (CB(ctl::AutoCloseSweepCB).Checked()) ::SetTimer(hwnd_, kBrowserWatchTimer, kAutomaticTimerInterval, nullptr);
}

void TMainForm::SweepClosedBrowser(Browser browser) {
    switch (browser) {
        case Browser::IE: return IESweepBTNClick();
        case Browser::Netscape: return NSSweepBTNClick();
        case Browser::Opera: return OPSweepBTNClick();
        case Browser::AOL: return AOLSweepBTNClick();
        case Browser::FireFox: return FFSweepBTNClick();
    }
}

}  // namespace tarnwell
