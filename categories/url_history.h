#pragma once
// TUrlHistory: the browser's URL history as a filtered, sorted list, over
// a narrow store interface. Portable: the COM history store implements the
// store on Windows, an in-memory one in the tests.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarnwell {

struct THistoryItem {
    std::string Url;
    std::string Title;
    double LastVisited = 0;  // date-times; 0 when the store's time has no DOS form
    double LastUpdated = 0;
    double Expires = 0;
};

class UrlHistoryStore {
public:
    virtual ~UrlHistoryStore() = default;
    // Drops any running enumeration and starts a new one; false when the
    // store cannot enumerate.
    virtual bool EnumUrls() = 0;
    // The next entry of the enumeration; false at its end or on failure.
    virtual bool Next(THistoryItem& item) = 0;
    virtual bool DeleteUrl(const std::string& url) = 0;
    virtual bool ClearHistory() = 0;
};

enum class TSearchFieldOption { seBoth, seTitle, seURL };
enum class TSortFieldOption { sfTitle, sfURL, sfLastVisited, sfLastUpdated, sfExpires };
enum class TSortDirectionOption { sdAscending, sdDescending };

class TUrlHistory {
public:
    // Without a store every operation does nothing and finds nothing.
    explicit TUrlHistory(std::unique_ptr<UrlHistoryStore> store) : store_(std::move(store)) {}

    // Kept when non-empty: a substring, compared exactly, of the title, the
    // URL or either, as SearchField says.
    std::string Search;
    TSearchFieldOption SearchField = TSearchFieldOption::seBoth;
    TSortFieldOption SortField = TSortFieldOption::sfTitle;
    TSortDirectionOption SortDirection = TSortDirectionOption::sdAscending;
    std::function<void(const THistoryItem& item, bool& accept)> OnAccept;
    std::function<void(const THistoryItem& item, bool& del)> OnDelete;

    bool HasStore() const { return static_cast<bool>(store_); }
    // Lists the store's entries that pass the search and OnAccept, sorted;
    // returns how many there are.
    int Refresh();
    const std::vector<THistoryItem>& Items() const { return items_; }
    void DeleteUrl(const std::string& url);
    // Deletes every entry OnDelete agrees to (none without a handler);
    // returns how many were deleted.
    int DeleteAll();
    void ClearHistory();

private:
    bool Matches(const THistoryItem& item) const;
    void Sort();

    std::unique_ptr<UrlHistoryStore> store_;
    std::vector<THistoryItem> items_;
};

// Empties the history as a sweep does: every listed URL one by one,
// letting messages run between them, then whatever the store still
// enumerates, then the store's own clearing.
void ClearUrlHistory(TUrlHistory& history, const std::function<void()>& processMessages);

}  // namespace tarnwell
