#include "ui/text_file.h"

#include "base/handles.h"

namespace tarnwell {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string text;
    char buffer[16384];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
        if (got == 0) return text;
        text.append(buffer, got);
    }
}

unsigned long LastErrorOr(unsigned long fallback) {
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

unsigned long WriteWholeFile(const std::string& path, const std::string& text) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file) return LastErrorOr(ERROR_CANNOT_MAKE);
    DWORD written = 0;
    if (!text.empty() && (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
                          written != text.size()))
        return LastErrorOr(ERROR_WRITE_FAULT);
    if (!::FlushFileBuffers(file.get())) return LastErrorOr(ERROR_WRITE_FAULT);
    return ERROR_SUCCESS;
}

}  // namespace tarnwell
