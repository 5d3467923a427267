#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "categories/url_cache.h"

namespace tarnwell {
namespace {

// A cache in memory: groups of entries plus the entries of no group.
class MemoryCache : public UrlCacheStore {
public:
    std::map<std::int64_t, std::vector<CacheEntry>> groups;  // key 0: no group
    std::vector<std::string> deleted;
    bool groupsWork = true;

    std::uint32_t FindFirstGroup(std::int64_t& id) override {
        for (const auto& [key, entries] : groups)
            if (key != 0) {
                id = key;
                return groupsWork ? 0 : 2;
            }
        return kNoMoreItems;
    }
    std::uint32_t DeleteGroup(std::int64_t id) override { return groups.erase(id) ? 0 : 2; }
    std::uint32_t FindFirstEntry(std::int64_t id) override {
        group_ = id;
        position_ = 0;
        return Current();
    }
    std::uint32_t FindNextEntry() override {
        // The entry just deleted no longer takes a place.
        if (!removedCurrent_) ++position_;
        removedCurrent_ = false;
        return Current();
    }
    std::uint32_t FindCloseEntries() override { return 0; }
    std::uint32_t DeleteEntry(const std::string& url) override {
        auto& entries = groups[group_];
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].sourceUrl == url) {
                deleted.push_back(url);
                entries.erase(entries.begin() + static_cast<long>(i));
                removedCurrent_ = i == position_;
                return 0;
            }
        return 2;
    }
    const CacheEntry& CurrentEntry() const override { return current_; }

private:
    std::uint32_t Current() {
        const auto& entries = groups[group_];
        if (position_ >= entries.size()) return kNoMoreItems;
        current_ = entries[position_];
        return 0;
    }
    std::int64_t group_ = 0;
    size_t position_ = 0;
    bool removedCurrent_ = false;
    CacheEntry current_;
};

TEST(UrlCache, FilterMasks) {
    EXPECT_EQ(EntryTypeMask(0), 0u);
    EXPECT_EQ(EntryTypeMask(kMainWindowFilter), 0x300035u);
    EXPECT_EQ(LocalFileName("C:\\cache\\ABC\\page[1].htm"), "page[1].htm");
    EXPECT_EQ(LocalFileName(""), "");
}

TEST(UrlCache, GroupsFirstThenUngroupedEntriesWithTheKeepRules) {
    MemoryCache cache;
    cache.groups[7] = {{"http://a.example/", "C:\\c\\a.htm"},
                       {"Cookie:root@kept.example/", "C:\\k\\root@kept[1].txt"},
                       {"http://b.example/", "C:\\c\\ROOT@KEPT[1].TXT"}};
    cache.groups[0] = {{"Cookie:root@news.example/", "C:\\k\\root@news[1].txt"},
                       {"Cookie:root@kept.example/", "C:\\k\\root@kept[1].txt"},
                       {"Visited: root@http://c.example/", ""},
                       {"http://long.example/", std::string(5000, 'x')}};
    CleanUrlCache(cache, KeepList({"root@kept[1].txt"}));
    // In the group: cookies and kept names stay until the group goes with them.
    EXPECT_EQ(cache.deleted[0], "http://a.example/");
    EXPECT_FALSE(cache.groups.count(7));
    // Out of groups: cookies go too, unless kept; empty and long names are no obstacle.
    EXPECT_EQ(cache.groups[0].size(), 1u);
    EXPECT_EQ(cache.groups[0][0].sourceUrl, "Cookie:root@kept.example/");
    EXPECT_EQ(cache.deleted.size(), 4u);
}

TEST(UrlCache, WithoutWorkingGroupsOnlyUngroupedEntriesAreCleaned) {
    MemoryCache cache;
    cache.groupsWork = false;
    cache.groups[3] = {{"http://in-group.example/", "C:\\g.htm"}};
    cache.groups[0] = {{"http://loose.example/", "C:\\l.htm"}};
    CleanUrlCache(cache, KeepList());
    EXPECT_EQ(cache.deleted, std::vector<std::string>{"http://loose.example/"});
    EXPECT_TRUE(cache.groups.count(3));
}

}  // namespace
}  // namespace tarnwell
