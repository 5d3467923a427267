#include "update/web_file_info_win.h"

#include <shellapi.h>

#include <cctype>

#include "ui/save_dialog.h"
#include "update/update_windows_win.h"

namespace tarnwell {

namespace {

// The update page and the release notes are small; more is not read.
constexpr std::uint64_t kLargestPage = 4u << 20;
// A page may send the check on to another page, but never in circles.
constexpr int kMostRedirects = 5;
constexpr int kStatusOk = 200;

bool StartsWithHttp(const std::string& url) {
    if (url.size() < 7) return false;
    std::string scheme = url.substr(0, 7);
    for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return scheme == "http://";
}

std::string QuotedError(const char* lead, const std::string& error) {
    if (error.empty()) return std::string(lead) + "\rError unknown.";
    return std::string(lead) + "\rError: \"" + error + ".\"";
}

}  // namespace

TWebFileInfo::TWebFileInfo(HWND owner, std::function<void()> endProgram)
    : owner_(owner),
      endProgram_(std::move(endProgram)),
      font_(::CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif")) {}

TWebFileInfo::~TWebFileInfo() = default;

void TWebFileInfo::SetActive(bool active) {
    if (!active) active_ = false;
}

void TWebFileInfo::SetHomeURL(const std::string& url) {
    if (!StartsWithHttp(url)) return;
    homeUrl_ = url;
    active_ = false;
}

int TWebFileInfo::Box(const std::string& text, const char* caption, UINT flags) const {
    return ::MessageBoxA(owner_, text.c_str(), caption, flags);
}

THttpCli& TWebFileInfo::Client() {
    if (!client_) {
        client_ = std::make_unique<THttpCli>();
        client_->OnRequestDone = [this](int error) { RequestDone(error); };
    }
    return *client_;
}

bool TWebFileInfo::RetrieveInfo() {
    if (active_) return true;
    if (homeUrl_.empty()) {
        Box("Can not retrieve version information\rbecause no home url was provided.", "Missing Home URL",
            MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const WfiTags& t = InfoTags;
    const bool noTags = t.AuthorTag.empty() && t.DateTag.empty() && t.DownloadTag.empty() && t.ProductNameTag.empty() &&
                        t.ReadMeTag.empty() && t.ReadMeExtTag.empty() && t.RedirectTag.empty() &&
                        t.RunParamsTag.empty() && t.ConfigTag.empty() && t.VersionTag.empty();
    if (noTags) {
        Box("Can not retrieve version information\rbecause no tag information was provided.",
            "Missing Tag Information", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    active_ = RetrieveOnce(kMostRedirects);
    return active_;
}

// One page of the chain: the home page, or the page the previous one sent
// the check on to.
bool TWebFileInfo::RetrieveOnce(int redirectsLeft) {
    THttpCli& client = Client();
    client.Proxy = HttpProxy{ProxyHost, ProxyHost.empty() ? std::string("80") : ProxyPort,
                             ProxyHost.empty() ? std::string() : ProxyUsername,
                             ProxyHost.empty() ? std::string() : ProxyPassword};
    std::string page;
    lastError_.clear();
    const std::string url = page_.Redirect.empty() ? homeUrl_ : page_.Redirect;
    FetchToMemory(url, page, "Checking For Update...");
    if (client.StatusCode() > kStatusOk) {
        lastError_ = client.ReasonPhrase();
        Box(client.StatusCode() == 404 ? std::string("The auto update was unable to contact the server. Please try again.")
                                       : std::to_string(client.StatusCode()),
            "Tarnwell", MB_OK);
    }
    page_ = UpdatePageValues{};
    productDate_ = 0;
    if (!lastError_.empty()) return false;
    page_ = ParseUpdatePage(page, InfoTags);
    if (!page_.ProductDateStr.empty() && DateFormat == TWfiDateFormat::wfidDFSDate)
        productDate_ = DfsDate(page_.ProductDateStr);
    defaultFileName_ = DefaultFileName(page_.DownloadURL);
    if (page_.Redirect.empty()) return true;
    if (redirectsLeft == 0) {
        lastError_ = "The update page sent the check on too many times";
        page_ = UpdatePageValues{};
        return false;
    }
    return RetrieveOnce(redirectsLeft - 1);
}

void TWebFileInfo::FetchToMemory(const std::string& url, std::string& buffer, const char* activity) {
    THttpCli& client = Client();
    client.ReceiveToMemory(&buffer, kLargestPage);
    client.OnDocData = nullptr;
    client.URL = url;
    requestError_ = 0;
    TWaitWindow wait(owner_, font_.get(), activity);
    waitWindow_ = &wait;
    client.GetASync();
    wait.ShowModal();
    waitWindow_ = nullptr;
    if (requestError_ != 0 && lastError_.empty()) lastError_ = client.ReasonPhrase();
}

void TWebFileInfo::RequestDone(int error) {
    requestError_ = error;
    lastError_ = error != 0 ? client_->ReasonPhrase() : std::string();
    if (waitWindow_ && waitWindow_->Showing()) waitWindow_->Close(ModalResult::Ok);
    if (progressWindow_ && progressWindow_->Showing())
        progressWindow_->Close(progressWindow_->Cancelled() ? ModalResult::Cancel : ModalResult::Ok);
}

void TWebFileInfo::DataReceived(std::int64_t received, std::int64_t total) {
    if (progressWindow_ && !progressWindow_->Cancelled()) progressWindow_->Progress(received, total);
    if (OnDownloadProgress) OnDownloadProgress(*this, static_cast<std::int32_t>(received), static_cast<std::int32_t>(total));
}

bool TWebFileInfo::IsNewer() const {
    if (VersionFormat == TWfiVersionFormat::wfivSimpleString)
        return IsNewerSimpleString(CurrentVersion, page_.ProductVersion);
    return IsNewerBuildNumber(CurrentVersion, page_.ProductVersion);
}

std::string TWebFileInfo::AvailableText() const {
    return "Current version is " + CurrentVersion + ".\rVersion " + page_.ProductVersion + " is available.";
}

bool TWebFileInfo::CheckForUpdate() {
    if (checking_) return false;
    checking_ = true;
    const bool downloaded = RunCheck();
    checking_ = false;
    return downloaded;
}

bool TWebFileInfo::RunCheck() {
    if (!RetrieveInfo()) {
        Box(QuotedError("Could not retrieve version information from the Internet.", lastError_), "Connection Error",
            MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!IsNewer()) {
        Box("There is no update available.", "No Update Found", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (options_ & wfioDisplayReadMe) ShowReadMe(true);
    if (Box(AvailableText() + "\rDownload the update?", "Update Available", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    const std::optional<std::string> target = AskSaveName();
    if (!target) {
        if (endProgram_) endProgram_();
        return false;
    }
    if (!DownloadUpdate(*target)) {
        Box(QuotedError("Error occurred while downloading update.", lastError_), "Download Error",
            MB_OK | MB_ICONEXCLAMATION);
        if (endProgram_) endProgram_();
        return false;
    }
    if (options_ & wfioRunUpdate) {
        const std::string question = (options_ & wfioExitDuringUpdate)
                                          ? "Do you want to install the update now?\rThis will close " + ApplicationTitle + "."
                                          : std::string("Do you want to install the update now?");
        if (Box(question, "Install Update", MB_YESNO | MB_ICONQUESTION) == IDYES) {
            if (!StartFile(updateFile_, page_.RunParams, owner_)) {
                Box("Can not start program.", "Error", MB_OK | MB_ICONEXCLAMATION);
                if (endProgram_) endProgram_();
            } else if ((options_ & wfioExitDuringUpdate) && endProgram_) {
                endProgram_();
            }
        }
    }
    return true;
}

std::optional<std::string> TWebFileInfo::AskSaveName() {
    static const char kFilter[] = "Application (*.EXE)\0*.EXE\0Zipped File\0*.ZIP\0All Files (*.*)\0*.*\0";
    const std::optional<SaveChoice> choice = AskSaveFileName(owner_, kFilter, defaultFileName_);
    if (!choice) return std::nullopt;
    return WithFilterExtension(choice->file, choice->filterIndex);
}

bool TWebFileInfo::ShowReadMe(bool ask) {
    if (!active_ && !RetrieveInfo()) return false;
    if (page_.ProductReadMe.empty() && page_.ProductReadMeExt.empty()) return false;
    if (ask && Box(AvailableText() + "\rWould you like to view the ReadMe file?", "Update Available",
                   MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    if (!page_.ProductReadMeExt.empty()) {
        char temp[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathA(MAX_PATH, temp);
        const std::string folder = length > 0 && length < MAX_PATH ? std::string(temp, length) : std::string();
        const std::string file = folder + DefaultFileName(page_.ProductReadMeExt);
        if (!folder.empty() && DownloadFile(page_.ProductReadMeExt, file, "Downloading ReadMe")) {
            if (StartFile(file, "", nullptr)) return true;
            Box("Can not start program.", "Error", MB_OK | MB_ICONEXCLAMATION);
        }
    }
    if (!page_.ProductReadMe.empty()) {
        std::string text;
        FetchToMemory(page_.ProductReadMe, text, "Retrieving ReadMe...");
        if (Client().StatusCode() <= kStatusOk && requestError_ == 0) {
            TReadMeWindow window(owner_, font_.get(), text);
            window.ShowModal();
        } else {
            lastError_ = Client().ReasonPhrase();
        }
    }
    return true;
}

bool TWebFileInfo::DownloadUpdate(const std::string& target) {
    if (!active_ && !RetrieveInfo()) return false;
    updateFile_ = !target.empty() && target.back() == '\\' ? target + defaultFileName_ : target;
    if (!(options_ & (wfioAlwaysOverwrite | wfioDisplayUI)) &&
        ::GetFileAttributesA(updateFile_.c_str()) != INVALID_FILE_ATTRIBUTES &&
        Box("The file " + updateFile_ + " already exists.\rDo you want to overwrite it?", "File Exists", MB_YESNO) !=
            IDYES)
        return false;
    return DownloadFile(page_.DownloadURL, updateFile_, "Downloading Update");
}

// A download that was cancelled or cut short is a failure, and what came
// of it is removed: a partial installer is never offered to be started.
bool TWebFileInfo::DownloadFile(const std::string& url, const std::string& fileName, const std::string& caption) {
    lastError_.clear();
    FileHandle file(::CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file) {
        lastError_ = "The file " + fileName + " could not be created";
        return false;
    }
    THttpCli& client = Client();
    client.ReceiveToFile(file.get());
    client.OnDocData = [this](std::int64_t received, std::int64_t total) { DataReceived(received, total); };
    client.URL = url;
    requestError_ = 0;
    TWebDlProgress progress(owner_, font_.get(), caption);
    progress.OnCancel = [this] { client_->Abort(); };
    progressWindow_ = &progress;
    client.GetASync();
    progress.ShowModal();
    progressWindow_ = nullptr;
    client.OnDocData = nullptr;
    bool succeeded = requestError_ == 0 && client.StatusCode() <= kStatusOk;
    if (progress.Cancelled()) {
        lastError_ = "The download was cancelled by the user";
        succeeded = false;
    } else if (requestError_ == 0 && client.StatusCode() > kStatusOk) {
        lastError_ = client.ReasonPhrase();
    } else if (requestError_ != 0 && lastError_.empty()) {
        lastError_ = client.ReasonPhrase();
    }
    file.reset();
    if (!succeeded) ::DeleteFileA(fileName.c_str());
    return succeeded;
}

bool TWebFileInfo::StartFile(const std::string& file, const std::string& parameters, HWND owner) {
    const HINSTANCE result = ::ShellExecuteA(owner, "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                                             nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace tarnwell
