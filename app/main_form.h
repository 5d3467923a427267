#pragma once
// The main window: owner of every control, the known locations and the
// program's start-up and shut-down order.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/category_engine.h"
#include "app/control_table.h"
#include "app/known_locations.h"
#include "app/settings_store.h"
#include "app/single_instance.h"
#include "base/handles.h"
#include "categories/ie_cache.h"
#include "categories/aol_category.h"
#include "categories/ie_category.h"
#include "categories/media_players_category.h"
#include "categories/mozilla_categories.h"
#include "categories/opera_category.h"
#include "categories/plugins_category.h"
#include "categories/url_history.h"
#include "categories/windows_category.h"
#include "update/web_file_info_win.h"
#include "cookiekeep/cookie_keep.h"
#include "engine/folder_guard_win.h"
#include "engine/secure_delete.h"
#include "resident/browser_watch.h"
#include "resident/hot_keys_win.h"
#include "resident/kill_report.h"
#include "resident/notice.h"
#include "resident/pop_form_win.h"
#include "resident/popup_library_win.h"
#include "resident/popup_list_form_win.h"
#include "resident/service_manager.h"
#include "resident/tray_icon.h"
#include "shredder/shredder.h"
#include "ui/control_set.h"
#include "ui/form.h"
#include "ui/hints.h"
#include "ui/page_control.h"

namespace tarnwell {

class TApplication;

// Posted by a second copy of the program to the first one's main window.
inline constexpr UINT kActivateInstanceMessage = WM_USER + 65;  // 1089

// Timers of the main window: the browser watch and the one delayed Sweep
// All after a log-on start, both every five seconds.
inline constexpr UINT_PTR kBrowserWatchTimer = 1;
inline constexpr UINT_PTR kAutoSweepTimer = 2;
inline constexpr UINT kAutomaticTimerInterval = 5000;

inline constexpr const char* kMainCaption = "Tarnwell v2.20";
inline constexpr const char* kSettingsFileName = "settings.ini";
inline constexpr int kClientWidth = 433;
inline constexpr int kClientHeight = 520;

class TMainForm {
public:
    TMainForm(TApplication& application, std::string firstArgument);
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Creates the window and every control of the table ("loading its
    // components"), then runs the single-instance check and FormCreate.
    bool Create();
    void Show();
    void Hide();
    HWND Handle() const { return hwnd_; }

    // The application-wide message hook; true when the message was handled.
    bool AppEventsMessage(MSG& message);

private:
    friend LRESULT CALLBACK FormWindowProc<TMainForm>(HWND, UINT, WPARAM, LPARAM);
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateMainWindow();
    void CreateControls();
    void WireEvents();
    void WirePluginsTab();
    void WireItemDetails();

    // Start-up and shut-down (main_form_lifecycle_win.cpp).
    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    void FormDestroy();
    LRESULT QueryEndSession();
    void XJustOneAlreadyExist();
    void LaunchTWCPMNUClick();
    void ActivateFromSecondInstance();
    void CleanUpOnExit();
    void ChooseProfileFolders();
    void ApplyFirstStartDefaults();
    void RestoreSettings(const std::string& settingsFile);
    void ReportUnreadableSettings(const std::string& settingsFile) const;

    // Steps whose work belongs to other subsystems; each does what its name
    // says once that subsystem exists.
    void SeedRandomGenerator();
    void ClearLastPopupTime() { lastKillTick_.reset(); }
    void FillPluginList();
    void StartAolProfileDiscovery(const std::string& folder) { aol_->Profiles().Scan(folder); }
    void StartNetscapeProfileDiscovery(const std::string& folder) { netscape_->Profiles().Scan(folder); }
    void StartFireFoxProfileDiscovery(const std::string& folder) { fireFox_->Profiles().Scan(folder); }
    void RegisterPopupLibrary() { RegisterPopupKiller(ProgramDir); }
    void UnregisterPopupLibrary() { UnregisterPopupKiller(ProgramDir); }
    void RegisterBackgroundService();
    void RemoveBackgroundService();
    void CloseNoticeWindow();
    // Every category's Sweep tells a debugger that it ran ("Tarnwell:
    // sweep Netscape"): the automatic sweeps leave no other trace while a
    // category has nothing to sweep.
    static void TraceSweep(const char* category);
    void IESweepBTNClick();
    void WSweepBTNClick();
    void NSSweepBTNClick();
    void FFSweepBTNClick();
    void OPSweepBTNClick();
    void AOLSweepBTNClick();
    void MPSweepBTNClick();
    void PISweepBTNClick();

    // Notices (main_form_handlers_win.cpp): nothing in stealth mode or
    // while the tray icon is hidden; a balloon tip on the icon, or on the
    // older shells the notice window.
    void ShowNotice(const NoticeText& notice);
    void ShowSweepingNotice() { ShowNotice(SweepingNotice()); }
    void ShowPopupNotice(unsigned long killedCount) { ShowNotice(PopupNotice(killedCount)); }

    // The popup killer's reports (main_form_handlers_win.cpp): WM_COPYDATA
    // answers 1 to the library's tag and 0 to anything else; each report
    // that counts raises PopCount and shows the popup notice.
    LRESULT CopyDataMessage(const COPYDATASTRUCT* data);
    void PopupKilled();

    // Index files removed at the next start of Windows; also when the box
    // is restored checked, so every start arms it again.
    void VintrelCBClick();
    // The popup killer is off while the box is checked; also when restored.
    void SnuffetCBClick();
    void ConfigBTNClick() {
        if (cpForm_) cpForm_->ShowModal();
    }
    // After the list dialog saved changed lists: the library, when on, is
    // registered again so that the browser reads them.
    void PopupListsSaved();

    // Hot keys and automatic sweeps (main_form_handlers_win.cpp).
    void RegisterHotKeys();
    void UnregisterHotKeys();
    void StealthSetBTNClick();
    void HotKeyPressed(WPARAM id);
    void EnableAutoSweepTimer();
    void AutoCloseSweepCBClick();
    void TimerTimer();
    void AutoTimerTimer();
    void SweepClosedBrowser(Browser browser);

    // The Settings tab's profile paths change only here: a folder picked in
    // the shell's dialog (opened on the edit's folder), with a trailing
    // backslash, once it exists and the user confirms it (with the
    // browser's `word` in the question); the edit then shows it.
    // `adjust` may turn the picked folder into the one meant (AOL's
    // "organize" folder inside it).
    std::optional<std::string> PickProfilePath(int edit, const char* word, const char* title,
                                               const std::function<std::string(std::string)>& adjust = {});
    bool ConfirmManualPath(const std::string& path, const char* word) const;
    void NSPathEditBTNClick();
    void FFPathEditBTNClick();
    void OPPathEditBTNClick();
    void AOLPathEditBTNClick();
    // Both Locate buttons: a folder found by the locate dialog and saved
    // becomes the AOL folder at once; the user names are listed again.
    void LocateAOLBTNClick();
    // The AOL user names listed again: from the Settings tab's folder when
    // the user set one that differs from the AOL folder, else from the AOL
    // folder (then shown in the edit); `resetIndex` chooses the first name.
    void ResetAOLProfiles(bool resetIndex);

    // Handlers (main_form_handlers_win.cpp).
    void WStartLoadCBClick();
    void TransBarChange();
    void CloseBTNClick();
    void ShutdownMNUClick();
    void CheckforUpdatesMNUClick();
    // Ends the program the orderly way: settings saved, tray icon removed.
    void EndProgram();
    void SweepAllMNUClick();
    void SaveSettings();
    void CreateCategories();
    void CreateUrlHistory();
    void CreateSecondaryWindows();
    RemovalContext SecurityTabRemoval() const;

    TCheckBox& CB(int id) const { return controls_.Get<TCheckBox>(id); }
    TEdit& Edit(int id) const { return controls_.Get<TEdit>(id); }

    TApplication& application_;
    std::string firstArgument_;
    HWND hwnd_ = nullptr;
    GdiFont font_, boldFont_;
    GdiBitmap banner_;
    TControlSet controls_;
    TPageControl pageControl_;
    THints hints_;
    TFormStorage formStorage_;
    TXJustOne xJustOne_;
    std::unique_ptr<TTrayIcon> trayIcon_;  // made with the window, removed before it
    std::unique_ptr<THotKeys> hotKeys_;    // from start-up to exit
    TBrowserWatch browserWatch_;
    TPopupMenu popupMenu_{PageId::Tray, AllControls()};
    TIECache IECache;
    std::unique_ptr<TUrlHistory> UrlHistory;
    std::unique_ptr<TIECategory> ie_;
    std::unique_ptr<TWindowsCategory> windows_;
    std::unique_ptr<TNetscapeCategory> netscape_;
    std::unique_ptr<TFireFoxCategory> fireFox_;
    std::unique_ptr<TOperaCategory> opera_;
    std::unique_ptr<TAolCategory> aol_;
    std::unique_ptr<TMediaPlayersCategory> mediaPlayers_;
    std::unique_ptr<TPluginsCategory> plugins_;
    std::unique_ptr<TShredder> shredder_;
    std::unique_ptr<TCookieKeep> cookieKeep_;
    std::unique_ptr<TPopForm> popForm_;  // older shells only; until exit
    std::unique_ptr<TCPForm> cpForm_;    // the popup allow/block list dialog
    std::unique_ptr<TbtSvcMan> SvcMan;  // NT family, administrators only

    // State owned by the window.
    std::string ProgramDir;
    bool CloseAllowed = false;
    bool CleanupDone = false;
    bool FirstStart = false;
    std::optional<std::uint32_t> lastKillTick_;  // of the last counted kill report
    bool sessionEnding_ = false;  // Windows is logging off: nothing may wait for the user
    // settings.ini exists but could not be read at start-up: neither the
    // settings nor the keep lists were loaded, and neither is saved.
    bool settingsUnreadable_ = false;
    IniText startSettings_;  // the file as read at start-up (empty without one)
    OsFlags os_;
    KnownLocations locations_;
    std::unique_ptr<TFolderGuard> folderGuard_;
    std::unique_ptr<TWebFileInfo> WebFileInfo;  // made at the first check for updates  // known with the locations
};

}  // namespace tarnwell
