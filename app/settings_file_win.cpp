#include "app/settings_file_win.h"

#include "app/system_info_win.h"
#include "base/handles.h"
#include "ui/file_replace.h"
#include "ui/text_file.h"

namespace tarnwell {

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
    return ReplaceFileText(path, text, DetectOsFlags().IsNTPlatform);
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
