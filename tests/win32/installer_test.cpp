// The setup program and its uninstaller, run as an administrator would run
// them, in a fresh prefix; everything is checked from outside: files,
// links, registry, services and the running program's process.
#include <gtest/gtest.h>

#include <objidl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <psapi.h>

#include "app/control_table.h"
#include "tests/win32/support/message_boxes.h"
#include "tests/win32/support/message_pump.h"
#include "tests/win32/support/tarnwell_process.h"

namespace tarnwell::testing {
namespace {

constexpr const char* kDefaultFolder = "C:\\Program Files\\Tarnwell\\";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnwell";
constexpr const char* kServiceName = "TarnwellService";
constexpr const char* kHelperObjectKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\"
    "{8B6A1F2E-5C3D-4E7A-9F10-2A4B6C8D0E13}";

// The setup program under test, from TARNWELL_SETUP (copied into the
// prefix by the runner).
std::string SetupExe() { return std::getenv("TARNWELL_SETUP") ? std::getenv("TARNWELL_SETUP") : ""; }

// Runs a command line and waits for its process; its exit code, or none
// when it could not start or did not end in time.
std::optional<DWORD> RunCommand(std::string commandLine, DWORD milliseconds = 180000) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return std::nullopt;
    ::CloseHandle(info.hThread);
    std::optional<DWORD> code;
    if (::WaitForSingleObject(info.hProcess, milliseconds) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        if (::GetExitCodeProcess(info.hProcess, &exitCode)) code = exitCode;
    }
    ::CloseHandle(info.hProcess);
    return code;
}

std::optional<DWORD> Install(const std::string& arguments = "/S") { return RunCommand("\"" + SetupExe() + "\" " + arguments); }

std::optional<std::string> RegString(HKEY root, const std::string& key, const std::string& value) {
    char data[1024] = {};
    DWORD size = sizeof data - 1, type = 0;
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
    const LONG result = ::RegQueryValueExA(opened, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(opened);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    return std::string(data);
}

std::optional<DWORD> RegDword(HKEY root, const std::string& key, const std::string& value) {
    DWORD data = 0, size = sizeof data, type = 0;
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
    const LONG result = ::RegQueryValueExA(opened, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    ::RegCloseKey(opened);
    if (result != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
    return data;
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    ::RegCloseKey(opened);
    return true;
}

// The names in a folder, sorted; sub-folders end in a backslash.
std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        names.push_back(name + ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "\\" : ""));
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

// The shell's folder of the Start menu's program groups for all users.
std::string CommonPrograms() {
    char path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, path))) return {};
    return std::string(path) + "\\";
}

// The file a shell link points at, as the shell reads it.
std::string LinkTarget(const std::string& link) {
    IShellLinkA* shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&shellLink))))
        return {};
    std::string target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH] = {};
        ::MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
        char path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shellLink->Release();
    return target;
}

// A string of a file's version resource, in the first language it holds.
std::string VersionString(const std::string& file, const std::string& name) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return {};
    WORD* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < 4)
        return {};
    char path[128];
    wsprintfA(path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], name.c_str());
    char* text = nullptr;
    if (!::VerQueryValueA(data.data(), path, reinterpret_cast<void**>(&text), &length) || !text) return {};
    return text;
}

bool ServiceExists() {
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return false;
    SC_HANDLE service = ::OpenServiceA(manager, kServiceName, SERVICE_QUERY_STATUS);
    if (service) ::CloseServiceHandle(service);
    ::CloseServiceHandle(manager);
    return service != nullptr;
}

// A wizard of the setup program or the uninstaller, once it shows; its
// title is `title`, followed by the page's name on some pages.
HWND ShownWizard(const std::string& title) {
    HWND wizard = nullptr;
    WaitUntil([&] {
        wizard = VisibleDialog([&](HWND dialog) { return WindowText(dialog).rfind(title, 0) == 0; });
        return wizard != nullptr;
    }, 60000);
    return wizard;
}

// Clicks the wizard's main button once it carries `caption` (the page has
// changed) and can be pressed.
bool ClickWizardButton(HWND wizard, const std::string& caption) {
    HWND button = ::GetDlgItem(wizard, IDOK);
    if (!WaitUntil([&] { return WindowText(button) == caption && ::IsWindowEnabled(button); }, 60000)) return false;
    return ::PostMessageA(button, BM_CLICK, 0, 0);
}

// The program file of the process that owns a window.
std::string ProgramOfWindow(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return {};
    char path[MAX_PATH] = {};
    ::GetModuleFileNameExA(process, nullptr, path, MAX_PATH);
    ::CloseHandle(process);
    return path;
}

// Ends a Tarnwell that the test did not start, the way log-off does.
bool EndTarnwellWindow(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return false;
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &result);
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    const bool ended = ::WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(SetupExe().empty()) << "TARNWELL_SETUP names the setup program";
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    }
    void TearDown() override {
        // A wizard a failed test left open would keep the test's output
        // open, and the run waiting, until it is ended.
        while (HWND wizard = VisibleDialog([](HWND dialog) { return WindowText(dialog).rfind("Tarnwell 2.20 ", 0) == 0; })) {
            DWORD processId = 0;
            ::GetWindowThreadProcessId(wizard, &processId);
            HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
            if (!process) break;
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, 10000);
            ::CloseHandle(process);
        }
        ::CoUninitialize();
    }

    // Uninstalls silently through the entry's quiet command, as management
    // tools do, and waits until the entry, its last step, is gone. The
    // uninstaller hands its work to a copy of itself and returns at once.
    static bool UninstallQuietly() {
        const std::optional<std::string> quiet = RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString");
        if (!quiet) return false;
        if (RunCommand(*quiet) != DWORD{0}) return false;
        return WaitUntil([] { return !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }, 120000);
    }

    // What the tests leave behind: the user's data, which the uninstaller
    // keeps, and its folder.
    static void RemoveKeptData(const std::string& folder) {
        for (const char* name : {"settings.ini", "allow.lst", "block.lst"}) ::DeleteFileA((folder + name).c_str());
        ::RemoveDirectoryA((folder + "plugins").c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
};

// A silent install puts every file, the Start-menu group and the entry in
// "Add/Remove Programs" in place; the program then runs from its folder
// and keeps its settings there. A silent uninstall removes all of it but
// the settings.
TEST_F(Installer, SilentInstallAndUninstallIntoProgramFiles) {
    ASSERT_EQ(Install(), DWORD{0});
    const std::string folder = kDefaultFolder;
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"ReadMe.txt", "TWSvc.exe", "Tarnwell.exe", "Uninstall.exe",
                                                         "Vintrel.exe", "plugins\\", "snuffet.dll"}));
    EXPECT_EQ(NamesIn(folder + "plugins\\"),
              (std::vector<std::string>{"Example definition.ini", "Firefox caches.ini", "Google Chrome.ini",
                                        "Microsoft Edge.ini"}));
    // Text files open in Notepad on every Windows: CR LF line ends.
    const std::string readMe = ReadTextFile(folder + "ReadMe.txt");
    EXPECT_EQ(readMe.rfind("Tarnwell 2.20\r\n", 0), 0u);
    EXPECT_EQ(readMe.find("\n"), readMe.find("\r\n") + 1);

    const std::string group = CommonPrograms() + "Tarnwell\\";
    EXPECT_EQ(NamesIn(group), (std::vector<std::string>{"Read Me.lnk", "Tarnwell.lnk", "Uninstall Tarnwell.lnk"}));
    EXPECT_EQ(LinkTarget(group + "Tarnwell.lnk"), folder + "Tarnwell.exe");
    EXPECT_EQ(LinkTarget(group + "Uninstall Tarnwell.lnk"), folder + "Uninstall.exe");

    const HKEY machine = HKEY_LOCAL_MACHINE;
    EXPECT_EQ(RegString(machine, kUninstallKey, "DisplayName"), "Tarnwell 2.20");
    EXPECT_EQ(RegString(machine, kUninstallKey, "DisplayVersion"), "2.20");
    EXPECT_EQ(RegString(machine, kUninstallKey, "Publisher"), "Tarnwell");
    EXPECT_EQ(RegString(machine, kUninstallKey, "UninstallString"), "\"C:\\Program Files\\Tarnwell\\Uninstall.exe\"");
    EXPECT_EQ(RegString(machine, kUninstallKey, "QuietUninstallString"),
              "\"C:\\Program Files\\Tarnwell\\Uninstall.exe\" /S");
    // In kilobytes: at least what the program file alone takes.
    WIN32_FILE_ATTRIBUTE_DATA program{};
    ASSERT_TRUE(::GetFileAttributesExA((folder + "Tarnwell.exe").c_str(), GetFileExInfoStandard, &program));
    EXPECT_GE(RegDword(machine, kUninstallKey, "EstimatedSize").value_or(0), program.nFileSizeLow / 1024);
    // The program, the setup program and the entry name one version.
    EXPECT_EQ(VersionString(folder + "Tarnwell.exe", "ProductVersion"), "2.20");
    EXPECT_EQ(VersionString(SetupExe(), "ProductVersion"), "2.20");

    {
        TarnwellProcess tarnwell(folder);
        ASSERT_TRUE(tarnwell.WaitForMainWindow()) << tarnwell.StartState();
        tarnwell.EndSession();
        ASSERT_TRUE(tarnwell.WaitForExit(60000));
    }
    EXPECT_TRUE(FileExists(folder + "settings.ini")) << "the installed program keeps its settings beside it";

    ASSERT_TRUE(UninstallQuietly());
    const std::vector<std::string> left = NamesIn(folder);
    EXPECT_TRUE(std::find(left.begin(), left.end(), "settings.ini") != left.end());
    for (const std::string& name : left)
        EXPECT_TRUE(name == "settings.ini" || name == "allow.lst" || name == "block.lst") << name << " was left";
    EXPECT_EQ(::GetFileAttributesA(group.c_str()), INVALID_FILE_ATTRIBUTES) << "the Start-menu group stays";
    RemoveKeptData(folder);
}

// Installing again while Tarnwell runs, into a folder the user named (with
// spaces in it): the running copy ends the orderly way, saving what the
// user changed, the files are replaced and the settings with their keep
// lists survive.
TEST_F(Installer, UpgradeOverARunningCopyInAFolderWithSpaces) {
    const std::string folder = "C:\\My Tools\\Tarnwell Sweeper\\";
    const std::string target = "/S /D=" + folder.substr(0, folder.size() - 1);
    ASSERT_EQ(Install(target), DWORD{0});
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), "C:\\My Tools\\Tarnwell Sweeper");
    EXPECT_EQ(LinkTarget(CommonPrograms() + "Tarnwell\\Tarnwell.lnk"), folder + "Tarnwell.exe");
    ASSERT_TRUE(WriteTextFile(folder + "settings.ini",
                              "[Settings]\r\n[Settings.DstList_Items]\r\nCount=1\r\nItem0=root@news[1].txt\r\n"));
    ASSERT_TRUE(WriteTextFile(folder + "ReadMe.txt", "an older read-me"));

    TarnwellProcess tarnwell(folder);
    ASSERT_TRUE(tarnwell.WaitForMainWindow()) << tarnwell.StartState();
    ASSERT_FALSE(tarnwell.Checked(ctl::OPSessionCB));
    tarnwell.Click(ctl::OPSessionCB);
    ASSERT_TRUE(WaitUntil([&] { return tarnwell.Checked(ctl::OPSessionCB); }));

    ASSERT_EQ(Install(target), DWORD{0});
    ASSERT_TRUE(tarnwell.WaitForExit(30000)) << "the running copy was not ended";
    EXPECT_EQ(tarnwell.ExitCode(), DWORD{0});
    EXPECT_EQ(ReadTextFile(folder + "ReadMe.txt").rfind("Tarnwell 2.20\r\n", 0), 0u) << "the files were not replaced";
    EXPECT_EQ(IniSectionLines(folder + "settings.ini", "Settings.DstList_Items"),
              (std::vector<std::string>{"Count=1", "Item0=root@news[1].txt"}));
    const std::vector<std::string> settings = IniSectionLines(folder + "settings.ini", "Settings");
    EXPECT_TRUE(std::find(settings.begin(), settings.end(), "OPSessionCB_Checked=True") != settings.end())
        << "the running copy's settings were not saved";

    ASSERT_TRUE(UninstallQuietly());
    EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"settings.ini"}));
    RemoveKeptData(folder);
}

// Uninstalling while Tarnwell runs on the NT family with the index option
// on (so its service outlives it): the copy ends, and the service, the Run
// and RunOnce values, Tarnwell's Wininit.ini lines, its key under HKLM and
// the popup library's registration all go; other Wininit.ini lines stay.
TEST_F(Installer, UninstallEndsARunningCopyAndRemovesWhatItSetUp) {
    WindowsVersionOverride xp("winxp");
    ASSERT_EQ(Install(), DWORD{0});
    const std::string folder = kDefaultFolder;
    ASSERT_TRUE(WriteTextFile(folder + "settings.ini", "[Settings]\r\nVintrelCB_Checked=True\r\n"));
    TarnwellProcess tarnwell(folder);
    ASSERT_TRUE(tarnwell.WaitForMainWindow()) << tarnwell.StartState();
    ASSERT_TRUE(WaitUntil([] { return ServiceExists(); }, 60000)) << "the service was not registered";

    // What the program leaves on other Windows versions and through other
    // options, planted where it would be.
    const std::string runKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string runOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, runKey, "Tarnwell", "\"" + folder + "Tarnwell.exe\" /autostart"));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, runOnceKey, "TarnwellIndex", "\"" + folder + "Vintrel.exe\" /t /h /c"));
    ASSERT_TRUE(SetRegistryString(HKEY_LOCAL_MACHINE, "Software\\Tarnwell", "fSid", "S-1-5-21-1-2-3-1000"));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(folder + "index.lst"); }));
    const std::string indexList = ReadTextFile(folder + "index.lst");
    const std::string firstIndex = indexList.substr(0, indexList.find("\r\n"));
    ASSERT_FALSE(firstIndex.empty());
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string wininit = std::string(windows) + "\\Wininit.ini";
    ASSERT_FALSE(FileExists(wininit));
    ASSERT_TRUE(WriteTextFile(wininit, "[rename]\r\nNUL=" + firstIndex + "\r\nNUL=C:\\elsewhere\\old.tmp\r\n"));
    {
        HMODULE library = ::LoadLibraryA((folder + "snuffet.dll").c_str());
        ASSERT_TRUE(library);
        auto reg = reinterpret_cast<HRESULT(WINAPI*)()>(::GetProcAddress(library, "DllRegisterServer"));
        ASSERT_TRUE(reg && SUCCEEDED(reg()));
        ::FreeLibrary(library);
        ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kHelperObjectKey));
    }

    ASSERT_TRUE(UninstallQuietly());
    EXPECT_TRUE(tarnwell.WaitForExit(30000)) << "the running copy was not ended";
    EXPECT_FALSE(ServiceExists());
    EXPECT_FALSE(RegString(HKEY_LOCAL_MACHINE, runKey, "Tarnwell"));
    EXPECT_FALSE(RegString(HKEY_LOCAL_MACHINE, runOnceKey, "TarnwellIndex"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Tarnwell"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kHelperObjectKey));
    EXPECT_EQ(ReadTextFile(wininit), "[rename]\r\nNUL=C:\\elsewhere\\old.tmp\r\n");
    for (const std::string& name : NamesIn(folder))
        EXPECT_TRUE(name == "settings.ini" || name == "allow.lst" || name == "block.lst") << name << " was left";
    ::DeleteFileA(wininit.c_str());
    RemoveKeptData(folder);
}

// Through the wizard, as a user installs: the folder typed in on the
// folder page, and Tarnwell started from it by the finish page's box. The
// uninstaller, run from the entry, asks before it removes the settings;
// told to, it leaves nothing.
TEST_F(Installer, WizardInstallsWhereTheUserSaysAndUninstallRemovesSettingsWhenAsked) {
    const std::string folder = "C:\\Named By User\\Tarnwell";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + SetupExe() + "\"";
    ASSERT_TRUE(::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &info));
    ::CloseHandle(info.hThread);
    HWND wizard = ShownWizard("Tarnwell 2.20 Setup");
    ASSERT_TRUE(wizard);
    ASSERT_TRUE(ClickWizardButton(wizard, "&Next >"));
    HWND button = ::GetDlgItem(wizard, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(button) == "&Install"; }, 60000));
    HWND folderEdit = FindChildById(wizard, 1019);
    ASSERT_TRUE(folderEdit);
    EXPECT_EQ(WindowText(folderEdit), "C:\\Program Files\\Tarnwell");
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(folderEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()), SMTO_NORMAL, 10000,
                          &result);
    ASSERT_TRUE(ClickWizardButton(wizard, "&Install"));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(button) == "&Finish"; }, 120000));
    HWND run = FindChildByText(wizard, "&Start Tarnwell now");
    ASSERT_TRUE(run);
    EXPECT_EQ(::SendMessageA(run, BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_TRUE(ClickWizardButton(wizard, "&Finish"));
    EXPECT_EQ(::WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0);
    ::CloseHandle(info.hProcess);

    HWND tarnwell = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (tarnwell = ::FindWindowA("TMainForm", "Tarnwell v2.20")) != nullptr; }, 60000))
        << "Tarnwell was not started";
    EXPECT_EQ(ProgramOfWindow(tarnwell), folder + "\\Tarnwell.exe");
    ASSERT_TRUE(EndTarnwellWindow(tarnwell));
    ASSERT_TRUE(FileExists(folder + "\\settings.ini"));

    const std::optional<std::string> uninstall = RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
    ASSERT_TRUE(uninstall);
    ASSERT_EQ(RunCommand(*uninstall), DWORD{0});
    HWND uninstaller = ShownWizard("Tarnwell 2.20 Uninstall");
    ASSERT_TRUE(uninstaller);
    ASSERT_TRUE(ClickWizardButton(uninstaller, "&Uninstall"));
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = MessageBoxWith("Tarnwell 2.20 Uninstall", "settings")) != nullptr; },
                          60000));
    EXPECT_EQ(BoxText(question),
              "Remove your Tarnwell settings and popup lists (settings.ini, allow.lst, block.lst) as well?");
    ::PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(ClickWizardButton(uninstaller, "&Close"));
    EXPECT_TRUE(WaitUntil([] { return !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }));
    EXPECT_EQ(::GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << "the folder stays";
    ::RemoveDirectoryA("C:\\Named By User");
}

}  // namespace
}  // namespace tarnwell::testing
