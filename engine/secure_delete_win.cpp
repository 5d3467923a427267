#include "engine/secure_delete.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "base/setting_value.h"
#include "engine/file_info_win.h"
#include "base/file_names.h"
#include "engine/file_time_win.h"
#include "engine/random.h"
#include "base/handles.h"
#include "ui/late_bound.h"
#include "base/win.h"

namespace tarnwell {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 2] = {};
    const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

// Where the handle's file really lies; none when the system cannot say
// (GetFinalPathNameByHandleA exists from Windows Vista on; older systems
// rely on the reparse-point attributes of the file and of its folders).
std::optional<std::string> FinalPath(HANDLE file) {
    using FinalPathByHandle = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    static const auto call = BindLater<FinalPathByHandle>("kernel32.dll", "GetFinalPathNameByHandleA");
    if (!call) return std::nullopt;
    char path[MAX_PATH * 2] = {};
    const DWORD length = call(file, path, sizeof path, 0);
    if (length == 0 || length >= sizeof path) return std::nullopt;
    std::string text(path, length);
    if (text.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + text.substr(8);
    if (text.rfind("\\\\?\\", 0) == 0) return text.substr(4);
    return text;
}

// Where the system cannot say where a handle's file lies (before Windows
// Vista), a folder link on the way is what could lead elsewhere: junctions
// and folders with a volume mounted on them (Windows 2000 and XP) carry the
// reparse-point attribute; Windows 95, 98, ME and NT 4 have no such links.
// A folder that cannot be asked counts as a link. The drive's or share's
// root is not asked: it is where the path starts, not a step on the way.
bool NoFolderLinkOnTheWay(const std::string& path) {
    const std::string full = FullPath(path);
    size_t start = 0;
    if (full.size() > 2 && full[1] == ':') {
        start = 3;
    } else if (full.rfind("\\\\", 0) == 0) {
        const size_t share = full.find('\\', 2);
        const size_t root = share == std::string::npos ? share : full.find('\\', share + 1);
        start = root == std::string::npos ? full.size() : root + 1;
    }
    for (size_t i = start; i < full.size(); ++i) {
        // The second byte of a double-byte character may look like a backslash.
        if (::IsDBCSLeadByte(static_cast<BYTE>(full[i]))) {
            ++i;
            continue;
        }
        if (full[i] != '\\') continue;
        const DWORD attributes = ::GetFileAttributesA(full.substr(0, i).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    }
    return true;
}

// Whether the opened file lies where its name says. Short (8.3) names in
// the path are expanded only when the quick comparison fails.
bool LiesAtItsName(HANDLE file, const std::string& path) {
    const auto real = FinalPath(file);
    if (!real) return NoFolderLinkOnTheWay(path);
    const std::string full = FullPath(path);
    if (Lower(*real) == Lower(full)) return true;
    // Every system that can name the handle's file (Windows Vista on) can
    // expand short names too. Should the expansion still be missing, the
    // names are taken to differ: the file is left where it is, so the lack
    // never lets a removal reach further than its name.
    using LongPathName = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    static const auto longPathName = BindLater<LongPathName>("kernel32.dll", "GetLongPathNameA");
    if (!longPathName) return false;
    char longPath[MAX_PATH * 2] = {};
    const DWORD length = longPathName(full.c_str(), longPath, sizeof longPath);
    return length > 0 && length < sizeof longPath && Lower(*real) == Lower(std::string(longPath, length));
}

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
    // only when it is the file it is named: not a link, not reached
    // through one, not a folder.
    static std::optional<ExclusiveFile> Open(const std::string& path) {
        ExclusiveFile file;
        file.handle_.reset(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                         nullptr));
        if (!file.handle_) return std::nullopt;
        const auto facts = QueryFacts(file.handle_.get());
        if (!facts || (facts->attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))
            return std::nullopt;
        if (!LiesAtItsName(file.handle_.get(), path)) return std::nullopt;
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
bool ExistsWithDosDate(const std::string& fileName) {
    const auto data = QueryFileInfo(fileName);
    return data && !(data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && LocalDosTime(data->ftLastWriteTime);
}

// One overwrite pass: the whole (possibly grown) length, 64-bit, with one
// repeated byte value below 128. Failures end the pass, not the removal.
void Overwrite(ExclusiveFile& file, const RemovalOptions& options, TRandom& random) {
    std::optional<std::int64_t> size = OpenFileSize(file.Handle());
    if (!size) return;
    if (options.OverMin && *size < kMinimumOverwrite) {
        if (!file.SetLength(kMinimumOverwrite)) return;
        size = kMinimumOverwrite;
    }
    std::vector<unsigned char> block(kOverwriteBlock, static_cast<unsigned char>(random.Below(128)));
    if (!SeekFromStart(file.Handle(), 0)) return;
    for (std::int64_t left = *size; left > 0;) {
        const DWORD chunk = static_cast<DWORD>(left < kOverwriteBlock ? left : kOverwriteBlock);
        DWORD written = 0;
        if (!::WriteFile(file.Handle(), block.data(), chunk, &written, nullptr) || written != chunk) return;
        left -= chunk;
    }
    if (options.FlushBuffer) ::FlushFileBuffers(file.Handle());
}

}  // namespace

void SecureDeleteFile(const std::string& fileName, const RemovalContext& context) {
    if (!ExistsWithDosDate(fileName)) return;
    DWORD links = 1;
    {
        auto probe = ExclusiveFile::Open(fileName);
        if (!probe) return;  // in use, read-only, or not the file it is named
        links = probe->Links();
    }
    TRandom& random = context.Random ? *context.Random : ProgramRandom();
    RemovalOptions options = context.Options ? context.Options() : RemovalOptions{};
    const std::optional<int> passes = TryParseInt(options.Passes);
    if (!passes) return;
    std::string current = fileName;
    for (int pass = 0; pass < std::max(*passes, 1); ++pass) {
        if (pass > 0 && context.Options) options = context.Options();
        if (options.RandOver || options.Scramble) {
            auto file = ExclusiveFile::Open(current);
            // A file with other names is only deleted: overwriting it would
            // destroy the data those names still show.
            if (file && options.RandOver && links <= 1) Overwrite(*file, options, random);
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
    auto file = ExclusiveFile::Open(current);
    if (!file) return;
    if (options.ZeroFile && links <= 1 && !file->SetLength(0)) return;
    file->Delete();
}

std::int64_t FileSizeOf(const std::string& fileName) {
    WIN32_FIND_DATAA entry;
    FindHandle search(::FindFirstFileA(fileName.c_str(), &entry));
    if (!search) return -1;
    return (static_cast<std::int64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

}  // namespace tarnwell
