// Start-up and shut-down of the main window, in the fixed order the rest
// of the program relies on.
#include <cstdio>

#include "app/application.h"
#include "app/main_form.h"
#include "app/profile_folders.h"
#include "app/settings_file_win.h"
#include "app/system_info_win.h"
#include "engine/file_info_win.h"
#include "engine/random.h"
#include "resident/service_control.h"
#include "resident/start_page_win.h"
#include "ui/file_replace.h"

namespace tarnwell {

namespace {

// How long start-up waits for a settings file that another program holds
// open (a backup or a virus scanner reading it, say).
constexpr DWORD kSettingsPatience = 3000;

}  // namespace

void TMainForm::FormCreate() {
    // The program folder is needed by the first-start check and by the Run
    // value it writes, so it is known before anything else.
    ProgramDir = ProgramDirectory();
    const std::string settingsFile = ProgramDir + kSettingsFileName;
    RecoverInterruptedReplace(settingsFile);

    FirstStart = !IsPlainFile(settingsFile);
    if (FirstStart) WStartLoadCBClick();
    trayIcon_->SetActive(true);
    SeedRandomGenerator();
    ::SetCurrentDirectoryA(ProgramDir.c_str());
    ClearLastPopupTime();
    os_ = DetectOsFlags();
    locations_ = DiscoverKnownLocations(os_, ProgramDir);
    folderGuard_ = std::make_unique<TFolderGuard>(locations_.ProfileRoot);
    FillPluginList();
    if (IsPlainFile(settingsFile)) RestoreSettings(settingsFile);
    ChooseProfileFolders();
    if (FirstStart) ApplyFirstStartDefaults();
    if (!os_.IsNT) controls_.Get<TTrackBar>(ctl::TransBar).SetEnabled(false);
    RegisterHotKeys();
    const LONG exStyle = ::GetWindowLongA(application_.Handle(), GWL_EXSTYLE);
    ::SetWindowLongA(application_.Handle(), GWL_EXSTYLE, exStyle | WS_EX_TOOLWINDOW);
    if (!CB(ctl::SnuffetCB).Checked()) RegisterPopupLibrary();
    if (os_.IsNTPlatform && IsUserAdministrator()) RegisterBackgroundService();
    trayIcon_->Enabled = true;
    if (firstArgument_ == "/autostart") {
        Hide();
        if (CB(ctl::WinStartCB).Checked()) EnableAutoSweepTimer();
    }
}

// A file that stays unreadable is never restored from and never saved over.
// The text read here is the one the settings and the keep lists come from.
void TMainForm::RestoreSettings(const std::string& settingsFile) {
    const std::optional<std::string> text = ReadSettingsFile(settingsFile, kSettingsPatience);
    if (!text) {
        settingsUnreadable_ = true;
        ReportUnreadableSettings(settingsFile);
        return;
    }
    startSettings_ = IniText::Parse(*text);
    formStorage_.SetIniFileName(settingsFile);
    formStorage_.RestoreFormPlacement(startSettings_);
}

// Definitions are found once: one added later shows up after a restart.
void TMainForm::FillPluginList() {
    if (DirectoryExists(locations_.PluginDir)) plugins_->Load(locations_.PluginDir, *folderGuard_);
}

void TMainForm::ReportUnreadableSettings(const std::string& settingsFile) const {
    char text[768];
    std::snprintf(text, sizeof text,
                  "Tarnwell could not read its settings file %s; another program may be holding it open. Your "
                  "settings and Cookie Keeper lists were not loaded and will not be saved this session, so the file "
                  "is left as it is. Until Tarnwell is started again, sweeps leave all cookies alone.",
                  settingsFile.c_str());
    ::OutputDebugStringA(text);
    ::MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONERROR | MB_TOPMOST);
}

// Runs after the path edits are restored: the user's folders win over the
// defaults while they exist.
void TMainForm::ChooseProfileFolders() {
    const ExistsTest exists = [](const std::string& path) { return tarnwell::DirectoryExists(path); };

    const FolderChoice aol = ChooseAolFolder(locations_.AOLPath, Edit(ctl::AOLPathEdit).Text(), exists);
    Edit(ctl::AOLPathEdit).SetText(aol.editText);
    if (aol.folder) StartAolProfileDiscovery(*aol.folder);

    const FolderChoice netscape = ChooseNetscapeRoot(locations_.ProfileRoot, Edit(ctl::NSPathEdit).Text(), exists);
    Edit(ctl::NSPathEdit).SetText(netscape.editText);
    if (netscape.folder) StartNetscapeProfileDiscovery(*netscape.folder);

    const FolderChoice fireFox = ChooseFireFoxRoot(locations_.ProfileRoot, Edit(ctl::FFPathEdit).Text(), exists);
    Edit(ctl::FFPathEdit).SetText(fireFox.editText);
    if (fireFox.folder) StartFireFoxProfileDiscovery(*fireFox.folder);

    const FolderChoice opera = ChooseOperaFolder(locations_.ProfileRoot, Edit(ctl::OPPathEdit).Text(), exists);
    Edit(ctl::OPPathEdit).SetText(opera.editText);
    locations_.OperaDir = opera.folder.value_or(std::string());
}

void TMainForm::ApplyFirstStartDefaults() {
    const ExistsTest exists = [](const std::string& path) { return tarnwell::DirectoryExists(path); };
    CB(ctl::IEAllCB).SetChecked(true);
    CB(ctl::VintrelCB).SetChecked(true);
    if (DirectoryExists(locations_.AOLPath)) CB(ctl::AOLAllCB).SetChecked(true);
    if (ChooseNetscapeRoot(locations_.ProfileRoot, "", exists).folder) CB(ctl::NSAllCB).SetChecked(true);
    if (ChooseFireFoxRoot(locations_.ProfileRoot, "", exists).folder) CB(ctl::FFAllCB).SetChecked(true);
    if (!locations_.OperaDir.empty()) CB(ctl::OPAllCB).SetChecked(true);
    CB(ctl::AutoCloseSweepCB).SetChecked(true);
    CB(ctl::IEAllCB).SetChecked(true);
    CB(ctl::WinStartCB).SetChecked(true);
}

void TMainForm::RegisterBackgroundService() { SvcMan = tarnwell::RegisterBackgroundService(ProgramDir); }

// With the index option on, the service stays registered to do its work
// at the next start of Windows.
void TMainForm::RemoveBackgroundService() {
    if (SvcMan && !CB(ctl::VintrelCB).Checked()) SvcMan->UnregisterSvc(kServiceName);
    SvcMan.reset();
}

// The removal routine draws fill values and names from this generator.
void TMainForm::SeedRandomGenerator() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ProgramRandom().Seed(now.dwLowDateTime ^ ::GetTickCount() ^ ::GetCurrentProcessId());
}

void TMainForm::FormShow() {
    pageControl_.SetActivePageIndex(static_cast<int>(PageId::ControlPanel));
}

void TMainForm::FormCloseQuery() {
    if (!CloseAllowed) {
        Hide();
        return;
    }
    if (!CleanupDone) CleanUpOnExit();
    ::DestroyWindow(hwnd_);
}

void TMainForm::FormDestroy() {
    if (!CleanupDone) CleanUpOnExit();
}

LRESULT TMainForm::QueryEndSession() {
    sessionEnding_ = true;
    if (!CleanupDone) CleanUpOnExit();
    CloseAllowed = true;
    return TRUE;
}

void TMainForm::XJustOneAlreadyExist() {
    char caption[256] = {};
    ::GetWindowTextA(hwnd_, caption, sizeof caption);
    ::SetWindowTextA(hwnd_, "");
    ::PostMessageA(::FindWindowA(nullptr, caption), kActivateInstanceMessage, 0, 0);
    CleanupDone = true;
}

bool TMainForm::AppEventsMessage(MSG& message) {
    if (message.message != kActivateInstanceMessage) return false;
    ActivateFromSecondInstance();
    return true;
}

void TMainForm::ActivateFromSecondInstance() {
    LaunchTWCPMNUClick();
    if (!trayIcon_) return;
    trayIcon_->Enabled = true;
    // Removing and adding the icon brings back one hidden by the stealth key.
    trayIcon_->SetActive(false);
    trayIcon_->SetActive(true);
}

void TMainForm::LaunchTWCPMNUClick() {
    Show();
    ::SetForegroundWindow(hwnd_);
    ::BringWindowToTop(hwnd_);
}

void TMainForm::CleanUpOnExit() {
    if (CB(ctl::ProtectCB).Checked()) RestoreStartPage(locations_.SavedStartPage);
    SaveSettings();
    if (!CB(ctl::SnuffetCB).Checked()) UnregisterPopupLibrary();
    if (os_.IsNTPlatform) RemoveBackgroundService();
    UnregisterHotKeys();
    CloseNoticeWindow();
    CleanupDone = true;
}

}  // namespace tarnwell
