#include "categories/url_cache.h"

namespace tarnwell {

std::uint32_t EntryTypeMask(unsigned options) {
    static constexpr std::uint32_t kBits[] = {0x1, 0x2, 0x4, 0x100000, 0x200000, 0x10, 0x20, 0x10000, 0x20000};
    std::uint32_t mask = 0;
    for (unsigned i = 0; i < 9; ++i)
        if (options & (1u << i)) mask += kBits[i];
    return mask;
}

std::string_view LocalFileName(std::string_view path) {
    const size_t separator = path.find_last_of("\\:");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

namespace {

// Walks the entries of one group (0: no group), deleting those that pass.
template <typename Pass>
void DeleteEntries(UrlCacheStore& store, std::int64_t group, const KeepList& kept, Pass pass) {
    for (std::uint32_t result = store.FindFirstEntry(group); result == 0; result = store.FindNextEntry()) {
        const CacheEntry entry = store.CurrentEntry();
        if (pass(entry) && !kept.Contains(LocalFileName(entry.localFileName))) store.DeleteEntry(entry.sourceUrl);
    }
    store.FindCloseEntries();
}

}  // namespace

void CleanUrlCache(UrlCacheStore& store, const KeepList& kept) {
    std::int64_t group = 0;
    // A group that cannot be deleted would be found again forever.
    for (int guard = 0; guard < 100000 && store.FindFirstGroup(group) == 0; ++guard) {
        DeleteEntries(store, group, kept,
                      [](const CacheEntry& entry) { return entry.sourceUrl.rfind("Cookie", 0) != 0; });
        if (store.DeleteGroup(group) != 0) break;
    }
    DeleteEntries(store, 0, kept, [](const CacheEntry&) { return true; });
}

}  // namespace tarnwell
