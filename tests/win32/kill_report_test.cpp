// The popup killer library's reports of blocked popups, sent to the real
// program by this process as the library sends them: counted in PopCount
// (a burst once), announced with the popup notice, kept across restarts.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

constexpr ULONG_PTR kTag = 0xBFDC1;

class KillReport : public TabTest {
protected:
    // Sends a WM_COPYDATA as the library does; answers the program's result.
    LRESULT Send(ULONG_PTR tag, const std::string& payload) const {
        COPYDATASTRUCT data{tag, static_cast<DWORD>(payload.size()), const_cast<char*>(payload.data())};
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(program->MainWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                              10000, &result);
        return static_cast<LRESULT>(result);
    }
    LRESULT Report() const { return Send(kTag, std::string("\x02SN", 3)); }
    std::string Count() const { return program->Text(ctl::PopCount); }
    // More than the quarter second that joins reports into one.
    static void LetABurstEnd() { ::Sleep(300); }
};

TEST_F(KillReport, ABurstCountsOnceAndSpacedReportsEach) {
    RunAs("win98");
    Start("[Settings]\r\n");
    EXPECT_EQ(Count(), "0");
    const DWORD before = ::GetTickCount();
    EXPECT_EQ(Report(), 1);
    EXPECT_EQ(Count(), "1");
    ::Sleep(100);
    EXPECT_EQ(Report(), 1);
    // Judged only when this process really sent it within the quarter second.
    if (::GetTickCount() - before < 240) {
        EXPECT_EQ(Count(), "1") << "a report 100 ms after a counted one";
    }
    LetABurstEnd();
    EXPECT_EQ(Report(), 1);
    EXPECT_EQ(Count(), "2");

    // The popup notice, with the new count.
    HWND notice = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (notice = ::FindWindowA("TPopForm", nullptr)) && ::IsWindowVisible(notice); }));
    char text[512] = {};
    ::GetWindowTextA(FindChildById(notice, ctl::CaptionLBL), text, sizeof text);
    EXPECT_STREQ(text, "Tarnwell: Popup Killed...");
    ::GetWindowTextA(FindChildById(notice, ctl::BodyLBL), text, sizeof text);
    EXPECT_STREQ(text,
                 "Enable/Disable all popups by toggling Scroll Lock. Hold down the CTRL key and click for a new window. "
                 "2 total popups killed.");
}

TEST_F(KillReport, OtherMessagesAreAnsweredButNotCountedAndTheCountSurvivesARestart) {
    Start("[Settings]\r\nPopCount_Text=41\r\n");
    EXPECT_EQ(Count(), "41");
    EXPECT_EQ(Send(kTag + 1, std::string("\x02SN", 3)), 0);  // not the library's tag
    EXPECT_EQ(Send(kTag, "\x02S"), 1);                       // too short
    EXPECT_EQ(Send(kTag, "\x03SN"), 1);                      // not a kill report
    EXPECT_EQ(Send(kTag, ""), 1);
    EXPECT_EQ(Count(), "41");
    EXPECT_EQ(Report(), 1);
    EXPECT_EQ(Count(), "42");

    program->EndSession();
    ASSERT_TRUE(program->WaitForExit());
    program = std::make_unique<TarnwellProcess>(folder.Path());
    ASSERT_TRUE(program->WaitForMainWindow()) << program->StartState();
    EXPECT_EQ(Count(), "42");
}

}  // namespace
}  // namespace tarnwell::testing
