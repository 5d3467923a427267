#include "engine/secure_delete.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "app/setting_value.h"
#include "engine/file_names.h"
#include "engine/file_time_win.h"
#include "engine/random.h"
#include "ui/handles.h"
#include "ui/win.h"

namespace tarnwell {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The full long form of a path, for comparison with where an open handle
// really leads.
std::string CanonicalPath(const std::string& path) {
    char full[MAX_PATH * 2] = {};
    if (!::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr)) return path;
    char longPath[MAX_PATH * 2] = {};
    const DWORD length = ::GetLongPathNameA(full, longPath, sizeof longPath);
    return length > 0 && length < sizeof longPath ? longPath : full;
}

// Where the handle's file really lies; none when the system cannot say
// (GetFinalPathNameByHandleA exists from Windows Vista on).
std::optional<std::string> FinalPath(HANDLE file) {
    using FinalPathByHandle = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    static const auto call = reinterpret_cast<FinalPathByHandle>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
    if (!call) return std::nullopt;
    char path[MAX_PATH * 2] = {};
    const DWORD length = call(file, path, sizeof path, 0);
    if (length == 0 || length >= sizeof path) return std::nullopt;
    std::string text(path, length);
    if (text.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + text.substr(8);
    if (text.rfind("\\\\?\\", 0) == 0) return text.substr(4);
    return text;
}

struct OpenedFile {
    FileHandle handle;
    DWORD links = 1;
};

// Opens `path` for reading and writing with no sharing, and only when it
// is the file it is named: not a link, not reached through one.
std::optional<OpenedFile> OpenExclusive(const std::string& path) {
    OpenedFile file;
    file.handle.reset(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.handle) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.handle.get(), &info)) return std::nullopt;
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    if (auto real = FinalPath(file.handle.get()); real && Lower(*real) != Lower(CanonicalPath(path)))
        return std::nullopt;
    file.links = info.nNumberOfLinks;
    return file;
}

bool ExistsWithDosDate(const std::string& fileName) {
    WIN32_FIND_DATAA entry;
    FindHandle search(::FindFirstFileA(fileName.c_str(), &entry));
    return search && !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && LocalDosTime(entry.ftLastWriteTime);
}

bool SetLength(HANDLE file, std::int64_t length) {
    LARGE_INTEGER position;
    position.QuadPart = length;
    return ::SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
}

// One overwrite pass: the whole (possibly grown) length, 64-bit, with one
// repeated byte value below 128. Failures end the pass, not the removal.
void Overwrite(const std::string& current, const RemovalOptions& options, TRandom& random) {
    auto file = OpenExclusive(current);
    if (!file) return;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file->handle.get(), &size)) return;
    if (options.OverMin && size.QuadPart < kMinimumOverwrite) {
        if (!SetLength(file->handle.get(), kMinimumOverwrite)) return;
        size.QuadPart = kMinimumOverwrite;
    }
    std::vector<unsigned char> block(kOverwriteBlock, static_cast<unsigned char>(random.Below(128)));
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(file->handle.get(), start, nullptr, FILE_BEGIN)) return;
    std::int64_t left = size.QuadPart;
    while (left > 0) {
        const DWORD chunk = static_cast<DWORD>(left < kOverwriteBlock ? left : kOverwriteBlock);
        DWORD written = 0;
        if (!::WriteFile(file->handle.get(), block.data(), chunk, &written, nullptr) || written != chunk) return;
        left -= chunk;
    }
    if (options.FlushBuffer) ::FlushFileBuffers(file->handle.get());
}

}  // namespace

void SecureDeleteFile(const std::string& fileName, const RemovalContext& context) {
    if (!ExistsWithDosDate(fileName)) return;
    DWORD links = 1;
    {
        auto file = OpenExclusive(fileName);
        if (!file) return;  // in use, read-only, or not the file it is named
        links = file->links;
    }
    TRandom& random = context.Random ? *context.Random : ProgramRandom();
    RemovalOptions options = context.Options ? context.Options() : RemovalOptions{};
    const std::optional<int> passes = TryParseInt(options.Passes);
    if (!passes) return;
    std::string current = fileName;
    for (int pass = 0; pass < std::max(*passes, 1); ++pass) {
        if (pass > 0 && context.Options) options = context.Options();
        // A file with other names is only deleted: overwriting it would
        // destroy the data those names still show.
        if (options.RandOver && links <= 1) Overwrite(current, options, random);
        if (options.Scramble) {
            const std::string newName = ScrambledName(current, random.Below(kScrambleRange), fileName);
            if (OpenExclusive(current)) ::MoveFileA(current.c_str(), newName.c_str());
            current = newName;
        }
        if (context.ProcessMessages) context.ProcessMessages();
    }
    if (options.ZeroFile) {
        auto file = OpenExclusive(current);
        if (!file) return;
        if (links <= 1 && !SetLength(file->handle.get(), 0)) return;
    }
    // Checked again right before the delete: a name swapped for a link in
    // the meantime is left alone.
    if (!OpenExclusive(current)) return;
    ::DeleteFileA(current.c_str());
}

std::int64_t FileSizeOf(const std::string& fileName) {
    WIN32_FIND_DATAA entry;
    FindHandle search(::FindFirstFileA(fileName.c_str(), &entry));
    if (!search) return -1;
    return (static_cast<std::int64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

}  // namespace tarnwell
