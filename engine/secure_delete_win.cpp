#include "engine/secure_delete.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/file_names.h"
#include "base/handles.h"
#include "base/setting_value.h"
#include "base/win.h"
#include "engine/file_info_win.h"
#include "engine/random.h"
#include "engine/removal_root_win.h"
#include "ui/late_bound.h"

namespace tarnwell {

namespace {

// Rename and delete through an open handle (Windows Vista on), so that
// what was checked is what is changed; none when the call is missing.
using SetInformationByHandle = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
SetInformationByHandle HandleInformationCall() {
    static const auto call = BindLater<SetInformationByHandle>("kernel32.dll", "SetFileInformationByHandle");
    return call;
}
constexpr int kFileRenameInfo = 3;
constexpr int kFileDispositionInfo = 4;

// The records the by-handle calls of Windows Vista take. The headers of
// the oldest systems do not declare them; they only ever reach those
// calls, so only systems that know them ever see them.
struct BasicInfo {
    LARGE_INTEGER CreationTime, LastAccessTime, LastWriteTime, ChangeTime;
    DWORD FileAttributes;
};
struct StandardInfo {
    LARGE_INTEGER AllocationSize, EndOfFile;
    DWORD NumberOfLinks;
    BOOLEAN DeletePending, Directory;
};
struct RenameInfo {
    BOOLEAN ReplaceIfExists;
    HANDLE RootDirectory;
    DWORD FileNameLength;
    WCHAR FileName[1];
};
struct DispositionInfo {
    BOOLEAN DeleteFile;
};

struct HandleFacts {
    DWORD attributes;
    DWORD links;
};

// Attributes and link count of an open file. The by-handle-Ex queries
// (Windows Vista on) ask for just these; the older call also reads the
// volume, which costs more than the rest of a small file's removal under Wine.
std::optional<HandleFacts> QueryFacts(HANDLE file) {
    using InformationByHandleEx = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
    static const auto call = BindLater<InformationByHandleEx>("kernel32.dll", "GetFileInformationByHandleEx");
    constexpr int kFileBasicInfo = 0, kFileStandardInfo = 1;
    BasicInfo basic{};
    StandardInfo standard{};
    if (call && call(file, kFileBasicInfo, &basic, sizeof basic) &&
        call(file, kFileStandardInfo, &standard, sizeof standard))
        return HandleFacts{basic.FileAttributes, standard.NumberOfLinks};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) return std::nullopt;
    return HandleFacts{info.dwFileAttributes, info.nNumberOfLinks};
}

class ExclusiveFile {
public:
    // Opens `path` for reading, writing and deleting with no sharing, and
    // only when it is a plain file (not a link, not a folder) that lies
    // below `root`.
    static std::optional<ExclusiveFile> Open(const std::string& path, const TRemovalRoot& root) {
        ExclusiveFile file;
        file.handle_.reset(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                         nullptr));
        if (!file.handle_) return std::nullopt;
        const auto facts = QueryFacts(file.handle_.get());
        if (!facts || (facts->attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))
            return std::nullopt;
        if (!root.Holds(file.handle_.get(), path)) return std::nullopt;
        file.links_ = facts->links;
        file.path_ = path;
        return file;
    }

    HANDLE Handle() const { return handle_.get(); }
    DWORD Links() const { return links_; }

    bool SetLength(std::int64_t length) {
        return SeekFromStart(handle_.get(), length) && ::SetEndOfFile(handle_.get());
    }

    void Rename(const std::string& newName) {
        if (auto call = HandleInformationCall()) {
            const std::wstring wide = Widen(FullPath(newName));
            std::vector<unsigned char> buffer(sizeof(RenameInfo) + wide.size() * sizeof(wchar_t));
            auto* info = reinterpret_cast<RenameInfo*>(buffer.data());
            info->ReplaceIfExists = FALSE;
            info->RootDirectory = nullptr;
            info->FileNameLength = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
            std::copy(wide.begin(), wide.end(), info->FileName);
            if (call(handle_.get(), kFileRenameInfo, info, static_cast<DWORD>(buffer.size()))) return;
        }
        handle_.reset();
        ::MoveFileA(path_.c_str(), newName.c_str());
    }

    void Delete() {
        if (auto call = HandleInformationCall()) {
            DispositionInfo info{TRUE};
            if (call(handle_.get(), kFileDispositionInfo, &info, sizeof info)) return;
        }
        handle_.reset();
        ::DeleteFileA(path_.c_str());
    }

private:
    static std::wstring Widen(const std::string& text) {
        const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<size_t>(std::max(length, 1)), L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
        wide.resize(wide.size() - 1);
        return wide;
    }

    FileHandle handle_;
    DWORD links_ = 1;
    std::string path_;
};

// A plain attribute query: the name is not taken as a search pattern.
// Whatever its date says, a file that is there is there.
bool IsFile(const std::string& fileName) {
    const auto data = QueryFileInfo(fileName);
    return data && !(data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

constexpr int kMaxPasses = 99;
// Overwriting a large file lets messages run between runs of blocks, so the
// window stays responsive.
constexpr std::int64_t kBlocksBetweenMessages = 128;  // 1 MiB

// One overwrite pass: the whole (possibly grown) length, 64-bit, with one
// repeated byte value below 128. Failures end the pass, not the removal.
void Overwrite(ExclusiveFile& file, const RemovalOptions& options, TRandom& random,
               const std::function<void()>& processMessages) {
    std::optional<std::int64_t> size = OpenFileSize(file.Handle());
    if (!size) return;
    if (options.OverMin && *size < kMinimumOverwrite) {
        if (!file.SetLength(kMinimumOverwrite)) return;
        size = kMinimumOverwrite;
    }
    std::vector<unsigned char> block(kOverwriteBlock, static_cast<unsigned char>(random.Below(128)));
    if (!SeekFromStart(file.Handle(), 0)) return;
    std::int64_t blocks = 0;
    for (std::int64_t left = *size; left > 0;) {
        const DWORD chunk = static_cast<DWORD>(left < kOverwriteBlock ? left : kOverwriteBlock);
        DWORD written = 0;
        if (!::WriteFile(file.Handle(), block.data(), chunk, &written, nullptr) || written != chunk) return;
        left -= chunk;
        if (++blocks % kBlocksBetweenMessages == 0 && left > 0 && processMessages) processMessages();
    }
    if (options.FlushBuffer) ::FlushFileBuffers(file.Handle());
}

}  // namespace

RemovalOutcome SecureDeleteFile(const std::string& fileName, const RemovalContext& context) {
    if (!IsFile(fileName)) return RemovalOutcome::NotAFile;
    // Without a root of its own the file's folder, as named, is the root.
    const std::optional<TRemovalRoot> ownRoot =
        context.Root ? std::nullopt : std::optional<TRemovalRoot>(std::string(ExtractFilePath(FullPath(fileName))));
    const TRemovalRoot& root = context.Root ? *context.Root : *ownRoot;
    DWORD links = 1;
    {
        auto probe = ExclusiveFile::Open(fileName, root);
        if (!probe) return RemovalOutcome::Survived;  // in use, read-only, a link, or outside the root
        links = probe->Links();
    }
    TRandom& random = context.Random ? *context.Random : ProgramRandom();
    RemovalOptions options = context.Options ? context.Options() : RemovalOptions{};
    // The field's text is a count from 1 to 99; whatever else it holds
    // still destroys the file, with the nearest count (one for no number).
    const int passes = std::clamp(TryParseInt(options.Passes).value_or(1), 1, kMaxPasses);
    std::string current = fileName;
    for (int pass = 0; pass < passes; ++pass) {
        if (pass > 0 && context.Options) options = context.Options();
        if (options.RandOver || options.Scramble) {
            auto file = ExclusiveFile::Open(current, root);
            // A file with other names is only deleted: overwriting it would
            // destroy the data those names still show.
            if (file && options.RandOver && links <= 1) Overwrite(*file, options, random, context.ProcessMessages);
            if (options.Scramble) {
                const std::string newName = ScrambledName(current, random.Below(kScrambleRange), fileName);
                if (file) file->Rename(newName);
                current = newName;  // also when the rename failed: later steps then find nothing
            }
        }
        if (context.ProcessMessages) context.ProcessMessages();
    }
    // Checked again before the last steps: a name swapped for a link in
    // the meantime is left alone.
    if (auto file = ExclusiveFile::Open(current, root)) {
        if (!options.ZeroFile || links > 1 || file->SetLength(0)) file->Delete();
    }
    return IsFile(fileName) || IsFile(current) ? RemovalOutcome::Survived : RemovalOutcome::Destroyed;
}

std::int64_t FileSizeOf(const std::string& fileName) {
    WIN32_FIND_DATAA entry;
    FindHandle search(::FindFirstFileA(fileName.c_str(), &entry));
    if (!search) return -1;
    return (static_cast<std::int64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

}  // namespace tarnwell
