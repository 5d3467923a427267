#include "ui/file_replace.h"

#include "ui/late_bound.h"
#include "ui/text_file.h"

namespace tarnwell {

namespace {

using MoveFileExFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

// The old file steps aside as a backup, the new one takes its name, and
// the backup goes. When the new one cannot take the name, the backup gets
// it back.
DWORD ReplaceThroughBackup(const std::string& path, const std::string& fresh) {
    const std::string backup = path + ".bak";
    ::DeleteFileA(backup.c_str());  // left by an interrupted replace; the file itself is whole
    if (!::MoveFileA(path.c_str(), backup.c_str())) return LastErrorOr(ERROR_ACCESS_DENIED);
    if (!::MoveFileA(fresh.c_str(), path.c_str())) {
        const DWORD error = LastErrorOr(ERROR_ACCESS_DENIED);
        ::MoveFileA(backup.c_str(), path.c_str());
        return error;
    }
    ::DeleteFileA(backup.c_str());
    return ERROR_SUCCESS;
}

}  // namespace

DWORD PutFileInPlace(const std::string& path, const std::string& fresh, bool exists, bool ntPlatform) {
    if (!exists) return ::MoveFileA(fresh.c_str(), path.c_str()) ? ERROR_SUCCESS : LastErrorOr(ERROR_ACCESS_DENIED);
    static const auto moveFileEx = BindOptional<MoveFileExFn>("kernel32.dll", "MoveFileExA");
    if (!ntPlatform || !moveFileEx) return ReplaceThroughBackup(path, fresh);
    if (moveFileEx(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ERROR_SUCCESS;
    return LastErrorOr(ERROR_ACCESS_DENIED);
}

DWORD ReplaceFileText(const std::string& path, const std::string& text, bool ntPlatform) {
    const bool exists = ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string fresh = path + ".new";
    DWORD error = WriteWholeFile(fresh, text);
    if (error == ERROR_SUCCESS) error = PutFileInPlace(path, fresh, exists, ntPlatform);
    if (error != ERROR_SUCCESS) ::DeleteFileA(fresh.c_str());
    return error;
}

void RecoverInterruptedReplace(const std::string& path) {
    const std::string backup = path + ".bak";
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        ::GetFileAttributesA(backup.c_str()) != INVALID_FILE_ATTRIBUTES)
        ::MoveFileA(backup.c_str(), path.c_str());
}

}  // namespace tarnwell
