#include "cookiekeep/keep_list.h"

#include <algorithm>
#include <cctype>

#include "base/setting_value.h"
#include "base/text_case.h"
#include "base/text_lines.h"

namespace tarnwell {

namespace {

}  // namespace

bool KeepList::Contains(std::string_view name) const {
    return std::any_of(items_.begin(), items_.end(), [&](const std::string& item) { return EqualNoCase(item, name); });
}

std::string KeepListSection(std::string_view storageSection, std::string_view component) {
    return std::string(storageSection) + "." + std::string(component) + "_Items";
}

KeepList LoadKeepList(const std::function<std::optional<std::string>(const std::string& key)>& read, int limit) {
    const int stated = std::clamp(ParseInt(read("Count").value_or("0")), 0, limit);
    std::vector<std::string> items;
    for (int i = 0; i < limit; ++i) {
        const std::optional<std::string> item = read("Item" + std::to_string(i));
        // Past the stated count, the first missing item ends the list.
        if (!item) {
            if (i >= stated) break;
            continue;
        }
        items.push_back(*item);
    }
    return KeepList(std::move(items));
}

std::vector<std::pair<std::string, std::string>> KeepListKeys(const KeepList& list) {
    std::vector<std::pair<std::string, std::string>> keys;
    if (list.Count() == 0) return keys;
    keys.emplace_back("Count", std::to_string(list.Count()));
    for (size_t i = 0; i < list.Count(); ++i) keys.emplace_back("Item" + std::to_string(i), list.Items()[i]);
    return keys;
}

std::vector<std::string> CookieDomains(std::string_view text) {
    std::vector<std::string> domains;
    for (std::string_view line : SplitLines(text)) {
        if (line.empty() || line.front() == '#') continue;
        const size_t tab = line.find('\t');
        // A line without a TAB has no domain field: it adds an empty entry.
        domains.emplace_back(tab == std::string_view::npos ? std::string_view() : line.substr(0, tab));
    }
    return domains;
}

}  // namespace tarnwell
