#pragma once
// The keep lists of the Cookie Keeper as data: the names every sweep must
// spare, their matching rule, and their layout in settings.ini. Portable.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwell {

class KeepList {
public:
    KeepList() = default;
    explicit KeepList(std::vector<std::string> items) : items_(std::move(items)) {}

    // A name is kept when it equals an entry as a whole, in any letter case.
    bool Contains(std::string_view name) const;
    const std::vector<std::string>& Items() const { return items_; }
    size_t Count() const { return items_.size(); }

private:
    std::vector<std::string> items_;
};

// "Settings.DstList_Items" for the list box DstList of the section "Settings".
std::string KeepListSection(std::string_view storageSection, std::string_view component);

// Reads a list stored as "Count" and "Item0".."ItemN" through `read` (none
// for a missing key). A wrong or absurd Count loads the items that are
// there, never more than `limit`.
KeepList LoadKeepList(const std::function<std::optional<std::string>(const std::string& key)>& read,
                      int limit = 10000);

// The keys and values a list is saved as; none for an empty list, which
// leaves no section at all.
std::vector<std::pair<std::string, std::string>> KeepListKeys(const KeepList& list);

// The cookie domains of a Mozilla-family cookies.txt: one entry per cookie
// line (a domain with several cookies is listed several times), the text
// before the line's first TAB; empty lines and "#" comments are skipped.
std::vector<std::string> CookieDomains(std::string_view fileText);

}  // namespace tarnwell
