#pragma once
// TIECache: the WinINet URL cache, bound by name so that the program runs
// where the cache-group functions are missing (then every operation
// answers 2 and nothing is cleaned).
#include "categories/url_cache.h"
#include "ui/win.h"

namespace tarnwell {

enum class TSearchPattern { spAll, spCookies, spHistory, spUrl };

class TIECache : public UrlCacheStore {
public:
    TIECache() = default;
    ~TIECache() override;
    TIECache(const TIECache&) = delete;
    TIECache& operator=(const TIECache&) = delete;

    unsigned FilterOptions = kMainWindowFilter;
    TSearchPattern SearchPattern = TSearchPattern::spAll;

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

private:
    void TakeEntry(const void* info);

    HANDLE groupFind_ = nullptr;
    HANDLE entryFind_ = nullptr;
    CacheEntry entry_;
};

}  // namespace tarnwell
