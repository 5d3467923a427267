#include "base/file_names.h"

namespace tarnwell {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

size_t AfterDirectory(std::string_view fileName) {
    const size_t separator = fileName.find_last_of("\\:");
    return separator == std::string_view::npos ? 0 : separator + 1;
}

}  // namespace

std::string_view ExtractFilePath(std::string_view fileName) { return fileName.substr(0, AfterDirectory(fileName)); }

std::string_view ExtractFileExt(std::string_view fileName) {
    const size_t start = AfterDirectory(fileName);
    const size_t dot = fileName.find_last_of('.');
    return dot == std::string_view::npos || dot < start ? std::string_view() : fileName.substr(dot);
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string joined(directory);
    if (!joined.empty() && joined.back() != '\\') joined += '\\';
    joined += name;
    return joined;
}

bool SamePath(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

bool LiesBelow(std::string_view path, std::string_view folder) {
    while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
    if (folder.empty() || path.size() <= folder.size() + 1 || path[folder.size()] != '\\') return false;
    return SamePath(path.substr(0, folder.size()), folder);
}

std::string QuotedProgramPath(std::string_view path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') return std::string(path);
    return "\"" + std::string(path) + "\"";
}

std::string ScrambledName(std::string_view current, std::uint32_t number, std::string_view originalName) {
    return std::string(ExtractFilePath(current)) + "~" + std::to_string(static_cast<std::int32_t>(number)) +
           std::string(ExtractFileExt(originalName));
}

}  // namespace tarnwell
