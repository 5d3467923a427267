#include "tests/win32/support/tarnwell_process.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include "app/control_table.h"
#include "tests/win32/support/message_pump.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace tarnwell::testing {

namespace {

struct WindowSearch {
    DWORD processId;
    std::string className, title;  // an empty title matches any
    bool shownOnly;
    HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    char className[64] = {};
    ::GetClassNameA(hwnd, className, sizeof className);
    if (owner != search->processId || search->className != className) return TRUE;
    if (search->shownOnly && !::IsWindowVisible(hwnd)) return TRUE;
    if (!search->title.empty() && WindowText(hwnd) != search->title) return TRUE;
    search->found = hwnd;
    return FALSE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam) {
    auto* controls = reinterpret_cast<std::map<int, HWND>*>(lParam);
    const int id = ::GetDlgCtrlID(hwnd);
    if (id != 0 && !controls->count(id)) (*controls)[id] = hwnd;
    return TRUE;
}

}  // namespace

std::map<int, HWND> ControlsOf(HWND parent) {
    std::map<int, HWND> controls;
    if (parent) ::EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

HWND FindChildById(HWND parent, int id) {
    const auto controls = ControlsOf(parent);
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second;
}

namespace {

struct TextSearch {
    const std::string& text;
    HWND found = nullptr;
};

BOOL CALLBACK MatchText(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<TextSearch*>(data);
    if (WindowText(child) != search->text) return TRUE;
    search->found = child;
    return FALSE;
}

}  // namespace

HWND FindChildByText(HWND parent, const std::string& text) {
    TextSearch search{text};
    ::EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MainWindowOf(DWORD processId) {
    WindowSearch search{processId, "TMainForm", "", false};
    ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ShownWindowOf(DWORD processId, const std::string& className, const std::string& title) {
    WindowSearch search{processId, className, title, true};
    ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ShellHoldsTrayIcon(HWND owner) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = 1;  // the program's only icon
    return owner && ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

bool SetRegistryString(HKEY root, const std::string& key, const std::string& value, const std::string& data) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) != 0)
        return false;
    const LONG written = ::RegSetValueExA(handle, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                          static_cast<DWORD>(data.size() + 1));
    ::RegCloseKey(handle);
    return written == ERROR_SUCCESS;
}

std::string WindowText(HWND window) {
    // GetWindowText does not ask a control of another process for its
    // text; WM_GETTEXT does.
    char text[1024] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &copied);
    return text;
}

int EntriesBelow(const std::string& folder) {
    int count = 0;
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        ++count;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) count += EntriesBelow(folder + "\\" + name);
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return count;
}

namespace {
constexpr const char* kTarnwellAppDefaults = "Software\\Wine\\AppDefaults\\Tarnwell.exe";
}

WindowsVersionOverride::WindowsVersionOverride(const std::string& version) {
    if (!SetRegistryString(HKEY_CURRENT_USER, kTarnwellAppDefaults, "Version", version))
        ADD_FAILURE() << "could not set the Windows version " << version << ": error " << ::GetLastError();
}

WindowsVersionOverride::~WindowsVersionOverride() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kTarnwellAppDefaults, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueA(key, "Version");
    ::RegCloseKey(key);
}

// The runner (tests/win32/run_test.sh) copies the program into the prefix
// and names it with a Windows path.
std::string TarnwellExe() {
    const char* path = std::getenv("TARNWELL_EXE");
    return path ? path : "";
}

TempFolder::TempFolder() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    for (;;) {
        path_ = std::string(temp) + "tw-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !out.fail();
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool MakeDirectories(const std::string& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path) {
    std::string from = path;
    while (!from.empty() && from.back() == '\\') from.pop_back();
    if (from.empty()) return;
    from.push_back('\0');  // the list ends with two NULs
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationA(&operation);
}

std::vector<std::string> IniSectionLines(const std::string& file, const std::string& section) {
    std::vector<std::string> lines;
    std::istringstream in(ReadTextFile(file));
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inside = line == "[" + section + "]";
            continue;
        }
        if (inside && !line.empty()) lines.push_back(line);
    }
    return lines;
}

namespace {

// This process's environment with `changes` applied, as a block for CreateProcess.
std::string EnvironmentBlock(const std::vector<std::string>& changes) {
    std::vector<std::string> variables;
    char* strings = ::GetEnvironmentStringsA();
    for (const char* p = strings; *p; p += std::strlen(p) + 1) variables.emplace_back(p);
    ::FreeEnvironmentStringsA(strings);
    for (const std::string& change : changes) {
        const std::string name = change.substr(0, change.find('=') + 1);
        std::erase_if(variables, [&](const std::string& v) { return _strnicmp(v.c_str(), name.c_str(), name.size()) == 0; });
        variables.push_back(change);
    }
    std::string block;
    for (const std::string& v : variables) block += v + '\0';
    return block + '\0';
}

}  // namespace

std::vector<std::string> ListBoxItems(HWND list) {
    std::vector<std::string> items;
    DWORD_PTR count = 0;
    ::SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count);
    // Asked in UTF-16: Wine hands list texts to another process that way.
    for (DWORD_PTR i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        DWORD_PTR length = 0;
        ::SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
        char narrow[1024] = {};
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        items.emplace_back(narrow);
    }
    return items;
}

namespace {

// The copies started by this test program that have not been destroyed yet.
std::set<const TarnwellProcess*>& StartedCopies() {
    static std::set<const TarnwellProcess*> copies;
    return copies;
}

bool AnotherStartedCopyRuns(const TarnwellProcess* self) {
    for (const TarnwellProcess* copy : StartedCopies())
        if (copy != self && copy->Running()) return true;
    return false;
}

// Whether some copy of the program holds the single-instance mutex.
bool InstanceMutexHeld() {
    HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, "Tarnwell");
    if (!mutex) return false;
    ::CloseHandle(mutex);
    return true;
}

}  // namespace

TarnwellProcess::TarnwellProcess(const std::string& folder, const std::string& arguments,
                                 const std::vector<std::string>& environment) {
    StartedCopies().insert(this);
    if (!AnotherStartedCopyRuns(this) && !WaitUntil([] { return !InstanceMutexHeld(); }, 15000))
        ADD_FAILURE() << "a copy of Tarnwell that this test did not start still runs";
    const std::string exe = folder + "Tarnwell.exe";
    if (!FileExists(exe)) ::CopyFileA(TarnwellExe().c_str(), exe.c_str(), FALSE);
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string block = EnvironmentBlock(environment);
    // A start refused before the program runs a line of its own (seen once
    // on a loaded machine) says nothing about the program, so it is tried
    // again a few times.
    for (int attempt = 0; attempt < 3 && !process_; ++attempt) {
        if (attempt > 0) ::Sleep(1000);
        if (::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                             environment.empty() ? nullptr : block.data(), folder.c_str(), &startup, &info)) {
            process_.reset(info.hProcess);
            ::CloseHandle(info.hThread);
            processId_ = info.dwProcessId;
        } else {
            startError_ = ::GetLastError();
        }
    }
}

TarnwellProcess::~TarnwellProcess() {
    if (Running()) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 5000);
    }
    StartedCopies().erase(this);
}

bool TarnwellProcess::WaitForMainWindow(DWORD milliseconds, bool shown) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        if (!main_) main_ = MainWindowOf(processId_);
        if (main_ && shown && ::IsWindowVisible(main_)) return true;
        // The window exists before start-up ends. Handing the icon to the
        // shell is the last step of creating it and hiding follows without
        // a message loop in between; a posted marker then reaches only the
        // main loop.
        if (main_ && !shown && ShellHoldsTrayIcon(main_)) {
            const DWORD spent = ::GetTickCount() - start;
            return WaitUntilPostedMessagesHandled(spent < milliseconds ? milliseconds - spent : 0);
        }
        if (!Running()) return false;
        ::Sleep(50);
    }
    return false;
}

HWND TarnwellProcess::Control(int id) const {
    if (controls_.empty()) controls_ = ControlsOf(main_);
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

bool TarnwellProcess::Checked(int id) const {
    return ::SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool TarnwellProcess::Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }

void TarnwellProcess::Click(int id) const {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result);
}

bool TarnwellProcess::WaitUntilEnabled(int id, DWORD milliseconds) const {
    return WaitUntil([&] { return Enabled(id); }, milliseconds);
}

namespace {

// The selection of an edit control as EM_GETSEL packs it: start, then end.
DWORD Selection(HWND edit) {
    DWORD_PTR packed = 0;
    ::SendMessageTimeoutA(edit, EM_GETSEL, 0, 0, SMTO_NORMAL, 5000, &packed);
    return static_cast<DWORD>(packed);
}

bool PostSelectionAndWait(HWND edit, DWORD selection, DWORD milliseconds) {
    ::PostMessageA(edit, EM_SETSEL, LOWORD(selection), HIWORD(selection));
    return WaitUntil([&] { return Selection(edit) == selection; }, milliseconds);
}

}  // namespace

bool TarnwellProcess::WaitUntilPostedMessagesHandled(DWORD milliseconds) const {
    HWND passes = Control(ctl::EncryptEdit);
    if (!passes) return false;
    const DWORD original = Selection(passes);
    // The field always holds a number, so a caret at its start differs from
    // any other selection.
    const DWORD marker = original == 0 ? MAKELONG(0, 1) : 0;
    return PostSelectionAndWait(passes, marker, milliseconds) && PostSelectionAndWait(passes, original, milliseconds);
}

bool TarnwellProcess::WindowVisible() const { return ::IsWindowVisible(main_) != FALSE; }

std::string TarnwellProcess::Text(int id) const { return WindowText(Control(id)); }

int TarnwellProcess::TrackBarPosition(int id) const {
    return static_cast<int>(::SendMessageA(Control(id), TBM_GETPOS, 0, 0));
}

int TarnwellProcess::HotKey(int id) const {
    return static_cast<int>(::SendMessageA(Control(id), HKM_GETHOTKEY, 0, 0)) & 0xFFFF;
}

void TarnwellProcess::EndSession() {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(main_, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &result);
    ::PostMessageA(main_, WM_CLOSE, 0, 0);
}

bool TarnwellProcess::WaitForExit(DWORD milliseconds) {
    return process_ && ::WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
}

bool TarnwellProcess::Running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::string TarnwellProcess::StartState() const {
    if (!process_) return "not started: error " + std::to_string(startError_);
    if (Running()) return "still running";
    return "ended with exit code " + std::to_string(ExitCode());
}

DWORD TarnwellProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

}  // namespace tarnwell::testing
