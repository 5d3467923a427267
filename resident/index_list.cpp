#include "resident/index_list.h"

#include <algorithm>

#include "base/text_case.h"
#include "base/text_lines.h"

namespace tarnwell {

namespace {

constexpr std::string_view kEnd = "\r\n";

std::vector<std::string_view> InOrder(const IndexFiles& files) { return {files.cache, files.history, files.cookies}; }

// The file as a list of lines read back: every line, the last included,
// ended by CRLF.
std::string NormalizedLines(std::string_view text) {
    std::string normalized;
    for (std::string_view line : SplitLinesAtAnyEnd(text)) (normalized += line) += kEnd;
    return normalized;
}

bool IsAbsolute(std::string_view path) {
    const bool drive = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && path[2] == '\\';
    return drive || path.starts_with("\\\\");
}

bool ClimbsThroughDots(std::string_view path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "." || part == "..") return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

std::string IndexListText(const IndexFiles& files, std::string_view passes) {
    std::string text;
    for (std::string_view path : InOrder(files)) (text += path) += kEnd;
    (text += passes) += kEnd;
    return text;
}

std::string ArmedWininit(std::optional<std::string_view> existing, const IndexFiles& files) {
    std::string text = existing ? NormalizedLines(*existing) : std::string("[rename]") + std::string(kEnd);
    for (std::string_view path : InOrder(files)) {
        const std::string line = "NUL=" + std::string(path);
        if (text.find(line) == std::string::npos) (text += line) += kEnd;
    }
    return text;
}

std::string DisarmedWininit(std::string_view existing, const IndexFiles& files) {
    std::string text = NormalizedLines(existing);
    for (std::string_view path : InOrder(files)) {
        const std::string line = LowerAscii("NUL=" + std::string(path) + std::string(kEnd));
        const size_t at = LowerAscii(text).find(line);
        if (at != std::string::npos) text.erase(at, line.size());
    }
    return text;
}

std::vector<std::string> IndexFilesToRemove(std::string_view indexList, std::array<bool, 3> chosen) {
    std::vector<std::string> files;
    const std::vector<std::string_view> lines = SplitLinesAtAnyEnd(indexList);
    for (size_t i = 0; i < lines.size() && i < 3; ++i) {
        if (!chosen[i]) continue;
        const std::string_view path = lines[i];
        const size_t slash = path.find_last_of("\\/");
        const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
        if (IsAbsolute(path) && LowerAscii(name) == "index.dat" && !ClimbsThroughDots(path)) files.emplace_back(path);
    }
    return files;
}

}  // namespace tarnwell
