#include "base/file_names.h"

namespace tarnwell {

namespace {

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

std::string QuotedProgramPath(std::string_view path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') return std::string(path);
    return "\"" + std::string(path) + "\"";
}

std::string ScrambledName(std::string_view current, std::uint32_t number, std::string_view originalName) {
    return std::string(ExtractFilePath(current)) + "~" + std::to_string(static_cast<std::int32_t>(number)) +
           std::string(ExtractFileExt(originalName));
}

}  // namespace tarnwell
