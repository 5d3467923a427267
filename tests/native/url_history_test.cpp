#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/url_history.h"

namespace tarnwell {
namespace {

// A history in memory; enumeration works on a snapshot, as a COM
// enumerator does, so deleting during a walk is safe.
class MemoryHistory : public UrlHistoryStore {
public:
    std::vector<THistoryItem> entries;
    std::vector<std::string> calls;
    bool enumerates = true;

    bool EnumUrls() override {
        calls.push_back("EnumUrls");
        snapshot_ = entries;
        position_ = 0;
        return enumerates;
    }
    bool Next(THistoryItem& item) override {
        if (position_ >= snapshot_.size()) return false;
        item = snapshot_[position_++];
        return true;
    }
    bool DeleteUrl(const std::string& url) override {
        calls.push_back("DeleteUrl " + url);
        for (auto it = entries.begin(); it != entries.end(); ++it)
            if (it->Url == url) {
                entries.erase(it);
                return true;
            }
        return false;
    }
    bool ClearHistory() override {
        calls.push_back("ClearHistory");
        entries.clear();
        return true;
    }

private:
    std::vector<THistoryItem> snapshot_;
    size_t position_ = 0;
};

struct History {
    MemoryHistory* store;
    TUrlHistory history;
};

History MakeHistory(std::vector<THistoryItem> entries) {
    auto store = std::make_unique<MemoryHistory>();
    store->entries = std::move(entries);
    MemoryHistory* raw = store.get();
    return History{raw, TUrlHistory(std::move(store))};
}

std::vector<std::string> Urls(const std::vector<THistoryItem>& items) {
    std::vector<std::string> urls;
    for (const auto& item : items) urls.push_back(item.Url);
    return urls;
}

const std::vector<THistoryItem> kSample = {
    {"http://b.example/news", "beta News", 3, 0, 0},
    {"http://a.example/", "Alpha", 1, 0, 0},
    {"http://c.example/Alpha", "gamma", 2, 0, 0},
};

TEST(UrlHistory, DeleteAllWithoutHandlerDeletesNothing) {
    History h = MakeHistory(kSample);
    EXPECT_EQ(h.history.DeleteAll(), 0);
    EXPECT_EQ(h.store->entries.size(), 3u);
}

TEST(UrlHistory, DeleteAllDeletesWhatTheHandlerAgreesTo) {
    History h = MakeHistory(kSample);
    std::vector<std::string> offered;
    h.history.OnDelete = [&](const THistoryItem& item, bool& del) {
        offered.push_back(item.Title);
        del = item.Title != "Alpha";
    };
    EXPECT_EQ(h.history.DeleteAll(), 2);
    EXPECT_EQ(offered, (std::vector<std::string>{"beta News", "Alpha", "gamma"}));
    ASSERT_EQ(h.store->entries.size(), 1u);
    EXPECT_EQ(h.store->entries[0].Title, "Alpha");
}

TEST(UrlHistory, RefreshSortsByTheChosenFieldAndDirection) {
    History h = MakeHistory(kSample);
    EXPECT_EQ(h.history.Refresh(), 3);
    // Titles compare without regard to letter case.
    EXPECT_EQ(Urls(h.history.Items()),
              (std::vector<std::string>{"http://a.example/", "http://b.example/news", "http://c.example/Alpha"}));
    h.history.SortField = TSortFieldOption::sfLastVisited;
    h.history.SortDirection = TSortDirectionOption::sdDescending;
    h.history.Refresh();
    EXPECT_EQ(Urls(h.history.Items()),
              (std::vector<std::string>{"http://b.example/news", "http://c.example/Alpha", "http://a.example/"}));
}

TEST(UrlHistory, SearchFiltersByFieldWithExactComparison) {
    History h = MakeHistory(kSample);
    h.history.Search = "Alpha";
    h.history.SearchField = TSearchFieldOption::seTitle;
    EXPECT_TRUE(h.history.Items().empty());
    EXPECT_EQ(h.history.Refresh(), 1);
    EXPECT_EQ(h.history.Items()[0].Url, "http://a.example/");
    h.history.SearchField = TSearchFieldOption::seURL;
    EXPECT_EQ(h.history.Refresh(), 1);
    EXPECT_EQ(h.history.Items()[0].Url, "http://c.example/Alpha");
    h.history.SearchField = TSearchFieldOption::seBoth;
    EXPECT_EQ(h.history.Refresh(), 2);
    h.history.Search = "alpha";  // compared exactly: letter case counts
    EXPECT_EQ(h.history.Refresh(), 0);
}

TEST(UrlHistory, RefreshReplacesTheListAndHonoursOnAccept) {
    History h = MakeHistory(kSample);
    h.history.OnAccept = [](const THistoryItem& item, bool& accept) { accept = item.LastVisited > 1; };
    EXPECT_EQ(h.history.Refresh(), 2);
    EXPECT_EQ(h.history.Refresh(), 2);  // not added to the old list
}

TEST(UrlHistory, ClearingDeletesEveryListedUrlThenClearsTheStore) {
    History h = MakeHistory(kSample);
    h.history.Search = "nothing matches this";
    int pumped = 0;
    ClearUrlHistory(h.history, [&] { ++pumped; });
    EXPECT_EQ(pumped, 3);
    EXPECT_TRUE(h.store->entries.empty());
    EXPECT_EQ(h.store->calls,
              (std::vector<std::string>{"EnumUrls", "DeleteUrl http://a.example/", "DeleteUrl http://b.example/news",
                                        "DeleteUrl http://c.example/Alpha", "EnumUrls", "ClearHistory"}));
}

TEST(UrlHistory, AStoreThatCannotEnumerateIsStillCleared) {
    History h = MakeHistory(kSample);
    h.store->enumerates = false;
    EXPECT_EQ(h.history.Refresh(), 0);
    ClearUrlHistory(h.history, nullptr);
    EXPECT_EQ(h.store->calls.back(), "ClearHistory");
}

TEST(UrlHistory, WithoutAStoreNothingHappens) {
    TUrlHistory history(nullptr);
    EXPECT_FALSE(history.HasStore());
    EXPECT_EQ(history.Refresh(), 0);
    EXPECT_EQ(history.DeleteAll(), 0);
    ClearUrlHistory(history, [] {});
}

}  // namespace
}  // namespace tarnwell
