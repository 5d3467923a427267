// Program entry: the command-line actions that need no window, then the
// windows and the message loop.
// The program's Windows settings come first; Winsock 2 after them.
#include "base/win.h"

#include <winsock2.h>

#include <string>

#include "app/application.h"
#include "app/main_form.h"
#include "base/handles.h"
#include "resident/service_control.h"

namespace {

std::string FirstArgument() {
    return __argc > 1 && __argv[1] ? std::string(__argv[1]) : std::string();
}

// At a log-on start the network and the shell are still coming up; waiting
// on an open socket gives them ten seconds before anything is created.
void PauseForLogOnStart() {
    WSADATA data;
    ::WSAStartup(0x0202, &data);
    ::WSASocketA(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_OVERLAPPED);
    ::Sleep(10000);
    ::WSACleanup();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string argument = FirstArgument();
    if (argument == "/uninstall") {
        tarnwell::UnregisterServiceForUninstall();
        return 0;
    }
    if (argument == "/autostart") PauseForLogOnStart();

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                        ICC_UPDOWN_CLASS | ICC_HOTKEY_CLASS | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    // The browser's history store is a COM object.
    tarnwell::OleSession ole;
    tarnwell::TApplication application;
    if (!application.Initialize("Tarnwell")) return 1;
    tarnwell::TMainForm mainForm(application, argument);
    if (!mainForm.Create()) return 1;
    // The Cookie Keeper, notice, popup-list and locate windows are created
    // here, after the main window, once they exist.
    application.OnMessage = [&mainForm](MSG& message) { return mainForm.AppEventsMessage(message); };
    if (argument == "/autostart") application.ShowMainForm = false;
    if (application.ShowMainForm && !application.Terminated()) mainForm.Show();
    return application.Run();
}
