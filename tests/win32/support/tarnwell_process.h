#pragma once
// Runs a copy of Tarnwell.exe in a folder of its own and looks at its
// window from outside, the way a person or an automation tool would:
// controls are found by the IDs of the control table.
#include <map>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/win.h"

namespace tarnwell::testing {

// Windows path of the Tarnwell.exe under test (from TARNWELL_EXE).
std::string TarnwellExe();

// A fresh folder below the temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return path_; }  // with trailing backslash
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// The writers answer whether the fixture is in place: a test asserts it
// before it acts, so a fixture that could not be written fails the test
// where it happened instead of as a puzzling count later.
std::string ReadTextFile(const std::string& path);
[[nodiscard]] bool WriteTextFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
[[nodiscard]] bool MakeDirectories(const std::string& path);
void RemoveTree(const std::string& path);
// The child windows of `parent` (at any depth) by control ID; the first
// one found wins for an ID used twice.
std::map<int, HWND> ControlsOf(HWND parent);
HWND FindChildById(HWND parent, int id);
// The first child window (at any depth) whose text is `text`: a button's
// caption, a label's line.
HWND FindChildByText(HWND parent, const std::string& text);
// The text of a window of another process (asked with WM_GETTEXT).
std::string WindowText(HWND window);
// The entries of a list box of another process, in list order.
std::vector<std::string> ListBoxItems(HWND list);

// Entries below a folder, folders included, as the scanner counts them.
int EntriesBelow(const std::string& folder);

// The Windows version Wine reports to Tarnwell.exe ("win98", "winme",
// "winxp"...), for as long as the object lives.
class WindowsVersionOverride {
public:
    explicit WindowsVersionOverride(const std::string& version);
    ~WindowsVersionOverride();
    WindowsVersionOverride(const WindowsVersionOverride&) = delete;
    WindowsVersionOverride& operator=(const WindowsVersionOverride&) = delete;
};

// Writes a string value, creating the key if needed.
[[nodiscard]] bool SetRegistryString(HKEY root, const std::string& key, const std::string& value,
                                     const std::string& data);

// Lines of a [section] of an INI file, in file order.
std::vector<std::string> IniSectionLines(const std::string& file, const std::string& section);

// The Tarnwell main window of a process, or none yet.
HWND MainWindowOf(DWORD processId);
// A shown top-level window of a process by class and title, or none.
HWND ShownWindowOf(DWORD processId, const std::string& className, const std::string& title);

// Whether the shell holds the tray icon of the window `owner`: modifying
// an icon succeeds only while it does.
bool ShellHoldsTrayIcon(HWND owner);

class TarnwellProcess {
public:
    // Copies Tarnwell.exe into `folder` (once) and starts it with `arguments`.
    // `environment` adds or replaces variables ("TEMP=C:\\x") for the program.
    // Unless another copy started here still runs, it first waits until no
    // copy holds the single-instance mutex: one that has just ended may
    // keep it a moment longer, and the new copy would end at once.
    TarnwellProcess(const std::string& folder, const std::string& arguments = "",
                    const std::vector<std::string>& environment = {});
    ~TarnwellProcess();

    // Waits until start-up is over: the main window is shown, or, for a
    // start that keeps it hidden, the shell holds the tray icon (the last
    // step of creating the window) and the main loop handles messages.
    bool WaitForMainWindow(DWORD milliseconds = 60000, bool shown = true);
    HWND MainWindow() const { return main_; }
    DWORD ProcessId() const { return processId_; }
    HWND Control(int id) const;

    bool Checked(int id) const;
    bool Enabled(int id) const;
    // A click on a button or check box, as the user makes it.
    void Click(int id) const;
    // Waits until the control is enabled again (a category's end check).
    [[nodiscard]] bool WaitUntilEnabled(int id, DWORD milliseconds = 60000) const;
    // Posts a marker behind every message already posted to the program
    // and waits until its main thread has handled it: the thread's queue
    // is first in, first out, so whatever was posted before has been
    // handled too. The marker moves the text selection of the passes field
    // there and back, which the program never reads.
    [[nodiscard]] bool WaitUntilPostedMessagesHandled(DWORD milliseconds = 20000) const;
    bool WindowVisible() const;
    std::string Text(int id) const;
    int TrackBarPosition(int id) const;
    int HotKey(int id) const;  // the control's word: key | modifier flags << 8

    // What Windows does at log-off: the end-session query, then close.
    void EndSession();
    bool WaitForExit(DWORD milliseconds = 20000);
    bool Running() const;
    DWORD ExitCode() const;
    // Why a start went wrong, for a failure message: not started (with the
    // error), ended (with its exit code), or still running.
    std::string StartState() const;

private:
    KernelHandle process_;
    DWORD startError_ = 0;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
    mutable std::map<int, HWND> controls_;  // filled on first use: controls never change
};

}  // namespace tarnwell::testing
