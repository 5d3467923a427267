#include "base/text_lines.h"

namespace tarnwell {

namespace {

// With `crEnds` a CR alone ends a line as well and a CR LF is one end;
// without it only LF ends a line, and the CR of a CR LF is dropped.
std::vector<std::string_view> Split(std::string_view text, bool crEnds) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(crEnds ? "\r\n" : "\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!crEnds && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (crEnds && end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) { return Split(text, false); }

std::vector<std::string_view> SplitLinesAtAnyEnd(std::string_view text) { return Split(text, true); }

}  // namespace tarnwell
