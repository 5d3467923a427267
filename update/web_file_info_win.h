#pragma once
// The update check: fetches the update page, compares the version it
// offers with the running one and, with the user's consent, shows the
// release notes, downloads the new installer to a file of the user's
// choice and starts it. Everything runs on the user-interface thread; the
// network waits are spent in modal wait and progress windows while the
// HTTP client works asynchronously.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/handles.h"
#include "base/win.h"
#include "update/http_client_win.h"
#include "update/update_page.h"

namespace tarnwell {

enum class TWfiDateFormat { wfidDFSDate, wfidNone };
enum class TWfiVersionFormat { wfivBuildNumber, wfivSimpleString };

// Options, as bits of a set.
enum TWfiOption : unsigned {
    wfioAlwaysOverwrite = 1u << 0,
    wfioDisplayUI = 1u << 1,
    wfioDisplayReadMe = 1u << 2,
    wfioRunUpdate = 1u << 3,
    wfioExitDuringUpdate = 1u << 4,
};

class TUpdateWindow;
class TWebDlProgress;

class TWebFileInfo {
public:
    // `owner` parents the windows and boxes; `endProgram` ends the program
    // the orderly way, as the tray's shut-down command does.
    TWebFileInfo(HWND owner, std::function<void()> endProgram);
    ~TWebFileInfo();

    bool Active() const { return active_; }
    // Writing true is ignored; false makes the next check fetch again.
    void SetActive(bool active);
    const std::string& HomeURL() const { return homeUrl_; }
    // Taken only when it begins with "http://" (any letter case).
    void SetHomeURL(const std::string& url);
    unsigned Options() const { return options_; }
    void SetOptions(unsigned options) { options_ = options | wfioDisplayUI; }

    std::string CurrentVersion;
    TWfiDateFormat DateFormat = TWfiDateFormat::wfidDFSDate;
    TWfiVersionFormat VersionFormat = TWfiVersionFormat::wfivBuildNumber;
    WfiTags InfoTags;
    std::string ProxyHost, ProxyPort = "80", ProxyUsername, ProxyPassword;
    std::string ApplicationTitle = "Tarnwell";
    std::function<void(TWebFileInfo& sender, std::int32_t received, std::int32_t fileSize)> OnDownloadProgress;

    const UpdatePageValues& Page() const { return page_; }
    double ProductDate() const { return productDate_; }
    const std::string& LastError() const { return lastError_; }
    const std::string& UpdateFile() const { return updateFile_; }

    // Another call while one runs (the tray menu still answers while the
    // wait window shows) is ignored: only one request may be in flight.
    bool CheckForUpdate();
    bool RetrieveInfo();
    bool IsNewer() const;
    bool ShowReadMe(bool ask);
    bool DownloadUpdate(const std::string& target);
    bool DownloadFile(const std::string& url, const std::string& fileName, const std::string& caption);

private:
    bool RunCheck();
    bool RetrieveOnce(int redirectsLeft);
    // Runs one GET into `buffer` while the wait window shows `activity`.
    void FetchToMemory(const std::string& url, std::string& buffer, const char* activity);
    void RequestDone(int error);
    void DataReceived(std::int64_t received, std::int64_t total);
    THttpCli& Client();
    std::optional<std::string> AskSaveName();
    int Box(const std::string& text, const char* caption, UINT flags) const;
    std::string AvailableText() const;
    bool StartFile(const std::string& file, const std::string& parameters, HWND owner);

    HWND owner_;
    std::function<void()> endProgram_;
    GdiFont font_;
    bool active_ = false;
    std::string homeUrl_;
    unsigned options_ = wfioDisplayUI | wfioDisplayReadMe | wfioRunUpdate | wfioExitDuringUpdate;
    UpdatePageValues page_;
    double productDate_ = 0;
    std::string lastError_;
    std::string defaultFileName_;
    std::string updateFile_;
    std::unique_ptr<THttpCli> client_;
    int requestError_ = 0;
    bool checking_ = false;
    TUpdateWindow* waitWindow_ = nullptr;
    TWebDlProgress* progressWindow_ = nullptr;
};

}  // namespace tarnwell
