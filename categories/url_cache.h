#pragma once
// The browser's URL cache as the index-file item sees it, and the walk
// that empties it while sparing kept cookies. Portable: the WinINet
// binding (TIECache) and the tests' in-memory store implement the store.
#include <cstdint>
#include <string>
#include <string_view>

#include "cookiekeep/keep_list.h"

namespace tarnwell {

inline constexpr std::uint32_t kNoMoreItems = 259;  // ERROR_NO_MORE_ITEMS

// The entry a find last reported. Times are local date-times (days since
// 1899-12-30), 0 when the cache's time could not be converted.
struct CacheEntry {
    std::string sourceUrl;
    std::string localFileName;
    std::uint32_t entryType = 0;
    std::uint32_t useCount = 0;
    std::uint32_t hitRate = 0;
    std::uint64_t size = 0;
    double lastModified = 0;
    double expire = 0;
    double lastAccess = 0;
    double lastSync = 0;
    std::string headerInfo{};
    std::string fileExtension{};
    std::uint32_t exemptDelta = 0;
};

// Operations return 0 on success or an error code; entries are read from
// CurrentEntry() after a successful find.
class UrlCacheStore {
public:
    virtual ~UrlCacheStore() = default;
    virtual std::uint32_t FindFirstGroup(std::int64_t& groupId) = 0;
    virtual std::uint32_t DeleteGroup(std::int64_t groupId) = 0;
    virtual std::uint32_t FindFirstEntry(std::int64_t groupId) = 0;  // 0: entries in no group
    virtual std::uint32_t FindNextEntry() = 0;
    virtual std::uint32_t FindCloseEntries() = 0;
    virtual std::uint32_t DeleteEntry(const std::string& sourceUrl) = 0;
    virtual const CacheEntry& CurrentEntry() const = 0;
};

// Entry-type bits of the cache filter, in the order of TFilterOption.
enum TFilterOption : unsigned {
    NORMAL_ENTRY = 1u << 0,
    STABLE_ENTRY = 1u << 1,
    STICKY_ENTRY = 1u << 2,
    COOKIE_ENTRY = 1u << 3,
    URLHISTORY_ENTRY = 1u << 4,
    TRACK_OFFLINE_ENTRY = 1u << 5,
    TRACK_ONLINE_ENTRY = 1u << 6,
    SPARSE_ENTRY = 1u << 7,
    OCX_ENTRY = 1u << 8,
};
// The WinINet entry-type mask for a set of TFilterOption bits.
std::uint32_t EntryTypeMask(unsigned filterOptions);
inline constexpr unsigned kMainWindowFilter =
    NORMAL_ENTRY | STICKY_ENTRY | COOKIE_ENTRY | URLHISTORY_ENTRY | TRACK_OFFLINE_ENTRY | TRACK_ONLINE_ENTRY;

// The file-name part of a local file name (after the last "\" or ":").
std::string_view LocalFileName(std::string_view path);

// Empties the cache: each group's entries (cookie entries excepted) unless
// their local file name is kept, then the group itself with whatever it
// still holds; then the entries in no group, cookies included, unless kept.
void CleanUrlCache(UrlCacheStore& store, const KeepList& kept);

}  // namespace tarnwell
