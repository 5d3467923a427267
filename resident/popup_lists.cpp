#include "resident/popup_lists.h"

#include <algorithm>

#include "base/text_case.h"
#include "base/text_lines.h"

namespace tarnwell {

std::string HostFromUrl(std::string_view text) {
    if (text.find("http://") != std::string_view::npos || text.find("https://") != std::string_view::npos)
        text.remove_prefix(text.find("//") + 2);
    return std::string(text.substr(0, text.find('/')));
}

std::vector<std::string> ReadListText(std::string_view text) {
    std::vector<std::string> entries;
    for (std::string_view line : SplitLinesAtAnyEnd(text)) entries.emplace_back(line);
    return entries;
}

std::string ListFileText(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) text += entry + "\r\n";
    return text;
}

bool ListHolds(const std::vector<std::string>& entries, std::string_view host) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const std::string& entry) { return EqualNoCase(entry, host); });
}

}  // namespace tarnwell
