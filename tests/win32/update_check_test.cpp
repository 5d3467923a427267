// "Check for Updates" end to end: the real program, pointed at an update
// page on a server of the test's own on 127.0.0.1, its boxes, windows and
// save dialog answered from outside as a user answers them.
#include <gtest/gtest.h>

#include "app/control_table.h"
#include "tests/win32/support/http_test_server.h"
#include "tests/win32/support/message_boxes.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/registry_values.h"
#include "tests/win32/support/tab_fixture.h"

namespace tarnwell::testing {
namespace {

std::string Page(const std::string& version, const std::string& more = "") {
    return "<html><head>\r\n<META HTTP-EQUIV=\"tw-name\" CONTENT=\"Tarnwell\">\r\n<meta http-equiv=\"tw-version\" "
           "CONTENT=\"" +
           version + "\">\r\n<META HTTP-EQUIV=\"tw-date\" CONTENT=\"Mar 14, 2005\">\r\n" + more +
           "</head><body>Tarnwell updates</body></html>\r\n";
}

class UpdateCheck : public TabTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Listening());
        registry.Set(HKEY_LOCAL_MACHINE, "Software\\Tarnwell", "UpdateURL", server.Url("/tarnwell/update.htm"));
        Start("[Settings]\r\n");
    }
    void CheckForUpdates() const { PostCommand(ctl::CheckforUpdatesMNU); }

    // Waits for the box and answers it with `button`; its text.
    std::string Answer(const std::string& caption, const std::string& textPart, int button) const {
        HWND box = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (box = MessageBoxWith(caption, textPart)) != nullptr; }))
            << caption << ": " << textPart;
        if (!box) return {};
        const std::string text = BoxText(box);
        ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
        return text;
    }
    HWND WaitForWindow(const char* className, const char* title) const {
        HWND found = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (found = ShownWindowOf(program->ProcessId(), className, title)) != nullptr; }))
            << title;
        return found;
    }
    static void ClickButton(HWND window, const char* caption) {
        HWND button = FindChildByText(window, caption);
        ASSERT_NE(button, nullptr) << caption;
        ::PostMessageA(button, BM_CLICK, 0, 0);
    }
    // The save dialog: types `name` and saves, or cancels.
    void AnswerSaveDialog(const std::string* name) const {
        HWND dialog = WaitForWindow("#32770", "Save As");
        ASSERT_NE(dialog, nullptr);
        if (!name) {
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        HWND edit = ::GetDlgItem(dialog, 0x480);  // edt1
        if (!edit) edit = ::GetDlgItem(dialog, 0x47c);  // cmb13
        ASSERT_NE(edit, nullptr);
        ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name->c_str()));
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
    // Up to the save dialog of an offered update whose notes are not read.
    void OfferUpdate(const std::string& download) {
        server.Route("/tarnwell/update.htm",
                     {HttpTestServer::Ok(Page("2.21", "<META HTTP-EQUIV=\"tw-url\" CONTENT=\"" + download + "\">\r\n"))});
        CheckForUpdates();
        Answer("Update Available", "Download the update?", IDYES);
    }

    HttpTestServer server;
    RegistryValues registry;
};

TEST_F(UpdateCheck, NoUpdateAndASecondCheckAsksTheServerNothing) {
    server.Route("/tarnwell/update.htm", {HttpTestServer::Ok(Page("2.20"))});
    CheckForUpdates();
    EXPECT_EQ(Answer("No Update Found", "no update", IDOK), "There is no update available.");
    CheckForUpdates();
    EXPECT_EQ(Answer("No Update Found", "no update", IDOK), "There is no update available.");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(UpdateCheck, NotFoundShowsBothBoxesInOrder) {
    CheckForUpdates();
    EXPECT_EQ(Answer("Tarnwell", "unable to contact", IDOK),
              "The auto update was unable to contact the server. Please try again.");
    EXPECT_EQ(Answer("Connection Error", "Could not retrieve", IDOK),
              "Could not retrieve version information from the Internet.\rError: \"Not Found.\"");
    // A failed check leaves nothing behind: the next one asks again.
    server.Route("/tarnwell/update.htm", {HttpTestServer::Ok("<html>no product lines</html>")});
    CheckForUpdates();
    EXPECT_EQ(Answer("No Update Found", "no update", IDOK), "There is no update available.");
    EXPECT_EQ(server.Requests().size(), 2u);
}

// While the wait window shows, the tray menu still answers: a second
// check then is ignored, and the first ends when the server stops
// answering.
TEST_F(UpdateCheck, ASecondCheckWhileOneWaitsIsIgnoredAndAStalledServerEndsIt) {
    server.Route("/tarnwell/update.htm", {"HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\n<html>", true});
    CheckForUpdates();
    ASSERT_NE(WaitForWindow("TarnwellUpdateWindowBusy", "Please Wait"), nullptr);
    CheckForUpdates();
    ASSERT_TRUE(program->WaitUntilPostedMessagesHandled());
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (box = MessageBoxWith("Connection Error", "Could not retrieve")) != nullptr; },
                          60000));
    EXPECT_EQ(Answer("Connection Error", "Could not retrieve", IDOK),
              "Could not retrieve version information from the Internet.\rError: \"The server stopped answering.\"");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(UpdateCheck, ReadsTheNotesAndDownloadsWithTheExtensionOfTheFilter) {
    const std::string file(300000, 'u');
    server.Route("/files/setup", {HttpTestServer::Ok(file, "application/octet-stream")});
    server.Route("/notes.txt", {HttpTestServer::Ok("What is new:\n- faster sweeps\n", "text/plain")});
    server.Route("/tarnwell/update.htm",
                 {HttpTestServer::Ok(Page("2.21", "<META HTTP-EQUIV=\"tw-url\" CONTENT=\"" + server.Url("/files/setup") +
                                                      "\">\r\n<META HTTP-EQUIV=\"tw-readme\" CONTENT=\"" +
                                                      server.Url("/notes.txt") + "\">\r\n"))});
    CheckForUpdates();
    EXPECT_EQ(Answer("Update Available", "ReadMe", IDYES),
              "Current version is 2.20.\rVersion 2.21 is available.\rWould you like to view the ReadMe file?");
    HWND notes = WaitForWindow("TarnwellUpdateWindow", "Read Me");
    ASSERT_NE(notes, nullptr);
    ClickButton(notes, "&Ok");
    EXPECT_EQ(Answer("Update Available", "Download the update?", IDYES),
              "Current version is 2.20.\rVersion 2.21 is available.\rDownload the update?");
    const std::string name = folder / "setup";
    AnswerSaveDialog(&name);
    EXPECT_EQ(Answer("Install Update", "install the update now", IDNO),
              "Do you want to install the update now?\rThis will close Tarnwell.");
    EXPECT_EQ(ReadTextFile(folder / "setup.EXE"), file);
    EXPECT_TRUE(program->Running());
}

TEST_F(UpdateCheck, CancellingTheSaveDialogEndsTheProgramTheOrderlyWay) {
    OfferUpdate(server.Url("/files/setup.exe"));
    AnswerSaveDialog(nullptr);
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_EQ(program->ExitCode(), 0u);
    // The normal shut-down saved the settings.
    EXPECT_FALSE(IniSectionLines(folder / "settings.ini", "Settings").empty());
    EXPECT_GT(ReadTextFile(folder / "settings.ini").size(), std::string("[Settings]\r\n").size());
}

TEST_F(UpdateCheck, CancelDuringTheDownloadRemovesThePartAndEndsTheProgram) {
    server.Route("/files/big.exe",
                 {"HTTP/1.0 200 OK\r\nContent-Length: 2000000\r\n\r\n" + std::string(1234567, 'b'), true});
    OfferUpdate(server.Url("/files/big.exe"));
    const std::string name = folder / "big.exe";
    AnswerSaveDialog(&name);
    HWND progress = WaitForWindow("TarnwellUpdateWindowBusy", "Download Progress");
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(WaitUntil(
        [&] { return FindChildByText(progress, "1,234,567 of 2,000,000 bytes received.") != nullptr; }));
    HWND bar = ::FindWindowExA(progress, nullptr, "msctls_progress32", nullptr);
    EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), 61);
    ClickButton(progress, "&Cancel");
    EXPECT_EQ(Answer("Download Error", "downloading update", IDOK),
              "Error occurred while downloading update.\rError: \"The download was cancelled by the user.\"");
    ASSERT_TRUE(program->WaitForExit());
    EXPECT_FALSE(FileExists(name));
}

}  // namespace
}  // namespace tarnwell::testing
