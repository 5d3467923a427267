#pragma once
// TIECache: the WinINet URL cache, bound by name so that the program runs
// where the cache-group functions are missing (then every operation
// answers 2 and nothing is cleaned).
#include <functional>

#include "categories/url_cache.h"
#include "base/win.h"

namespace tarnwell {

enum class TSearchPattern { spAll, spCookies, spHistory, spUrl };

// The group a group find last reported.
struct TGroupInfo {
    std::uint32_t diskUsage = 0;
    std::uint32_t diskQuota = 0;
    std::uint32_t ownerStorage[4] = {};
    std::string groupName;  // at most 120 characters
};

// A find that an OnEntry or OnGroup handler cancels answers this code.
inline constexpr std::uint32_t kFindCancelled = 1223;  // ERROR_CANCELLED

class TIECache : public UrlCacheStore {
public:
    TIECache() = default;
    ~TIECache() override;
    TIECache(const TIECache&) = delete;
    TIECache& operator=(const TIECache&) = delete;

    unsigned FilterOptions = kMainWindowFilter;
    TSearchPattern SearchPattern = TSearchPattern::spAll;
    // Told of each entry and group found; setting `cancel` ends that find.
    std::function<void(TIECache& sender, bool& cancel)> OnEntry;
    std::function<void(TIECache& sender, std::int64_t groupId, bool& cancel)> OnGroup;

    // Whether wininet.dll has the group and extended-enumeration functions;
    // decided once for the life of the program.
    static bool LibraryFound();

    std::uint32_t FindFirstGroup(std::int64_t& groupId) override;
    std::uint32_t DeleteGroup(std::int64_t groupId) override;
    std::uint32_t FindFirstEntry(std::int64_t groupId) override;
    std::uint32_t FindNextEntry() override;
    std::uint32_t FindCloseEntries() override;
    std::uint32_t DeleteEntry(const std::string& sourceUrl) override;
    const CacheEntry& CurrentEntry() const override { return entry_; }
    const TGroupInfo& CurrentGroup() const { return group_; }

private:
    void TakeEntry(const void* info);
    std::uint32_t EntryFound(const void* info);
    void CloseGroupFind();

    HANDLE groupFind_ = nullptr;
    HANDLE entryFind_ = nullptr;
    CacheEntry entry_;
    TGroupInfo group_;
};

}  // namespace tarnwell
