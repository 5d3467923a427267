#include "app/settings_file_win.h"

#include "app/system_info_win.h"
#include "base/handles.h"
#include "ui/late_bound.h"
#include "ui/text_file.h"

namespace tarnwell {

namespace {

// The NT family replaces a file by a rename in one step.
using MoveFileExFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

// The 95 family cannot rename onto an existing file: the old one steps
// aside as a backup, the new one takes its name, and the backup goes.
// When the new one cannot take the name, the backup gets it back.
DWORD ReplaceThroughBackup(const std::string& path, const std::string& fresh) {
    const std::string backup = path + ".bak";
    ::DeleteFileA(backup.c_str());  // left by an interrupted save; the file itself is whole
    if (!::MoveFileA(path.c_str(), backup.c_str())) return LastErrorOr(ERROR_ACCESS_DENIED);
    if (!::MoveFileA(fresh.c_str(), path.c_str())) {
        const DWORD error = LastErrorOr(ERROR_ACCESS_DENIED);
        ::MoveFileA(backup.c_str(), path.c_str());
        return error;
    }
    ::DeleteFileA(backup.c_str());
    return ERROR_SUCCESS;
}

// Puts the written file `fresh` in the place of `path`.
DWORD PutInPlace(const std::string& path, const std::string& fresh, bool exists) {
    if (!exists) return ::MoveFileA(fresh.c_str(), path.c_str()) ? ERROR_SUCCESS : LastErrorOr(ERROR_ACCESS_DENIED);
    static const auto moveFileEx = BindOptional<MoveFileExFn>("kernel32.dll", "MoveFileExA");
    if (!DetectOsFlags().IsNTPlatform || !moveFileEx) return ReplaceThroughBackup(path, fresh);
    if (moveFileEx(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ERROR_SUCCESS;
    return LastErrorOr(ERROR_ACCESS_DENIED);
}

}  // namespace

void RecoverInterruptedReplace(const std::string& path) {
    const std::string backup = path + ".bak";
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        ::GetFileAttributesA(backup.c_str()) != INVALID_FILE_ATTRIBUTES)
        ::MoveFileA(backup.c_str(), path.c_str());
}

DWORD UpdateSettingsFile(const std::string& path, const std::function<void(IniText&)>& change) {
    RecoverInterruptedReplace(path);
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND) return LastErrorOr(ERROR_FILE_NOT_FOUND);
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return ERROR_ACCESS_DENIED;
    std::string current;
    if (exists) {
        std::optional<std::string> text = ReadWholeFile(path);
        if (!text) return LastErrorOr(ERROR_READ_FAULT);
        current = std::move(*text);
    }
    IniText ini = IniText::Parse(current);
    change(ini);
    const std::string text = ini.Serialize();
    if (text == current) return ERROR_SUCCESS;

    const std::string fresh = path + ".new";
    DWORD error = WriteWholeFile(fresh, text);
    if (error == ERROR_SUCCESS) error = PutInPlace(path, fresh, exists);
    if (error != ERROR_SUCCESS) ::DeleteFileA(fresh.c_str());
    return error;
}

std::optional<std::string> ReadSettingsFile(const std::string& path, DWORD patience) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (std::optional<std::string> text = ReadWholeFile(path)) return text;
        if (::GetTickCount() - start >= patience) return std::nullopt;
        ::Sleep(250);
    }
}

}  // namespace tarnwell
