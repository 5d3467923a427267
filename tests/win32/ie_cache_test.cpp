// The WinINet binding on what Wine implements: cache entries can be made,
// but the group and extended-enumeration functions answer with errors, so
// the walk finds nothing to clean and ends at once.
#include <gtest/gtest.h>

#include "categories/browser_history.h"
#include "categories/ie_cache.h"
#include "base/handles.h"
#include "tests/win32/support/tarnwell_process.h"

#include <wininet.h>

namespace tarnwell::testing {
namespace {

TEST(IECache, BindsByNameAndAnswersWithCodes) {
    ASSERT_TRUE(TIECache::LibraryFound());
    TIECache cache;
    std::int64_t group = 0;
    const std::uint32_t groupResult = cache.FindFirstGroup(group);
    const std::uint32_t entryResult = cache.FindFirstEntry(0);
    cache.FindCloseEntries();
    if (groupResult != 0 || entryResult != 0) {
        // Wine: stubs. The walk must still end, cleaning nothing.
        char local[MAX_PATH] = {};
        ASSERT_TRUE(::CreateUrlCacheEntryA("http://tarnwell.example/page", 0, "htm", local, 0));
        ASSERT_TRUE(WriteTextFile(local, "page"));
        FILETIME never{};
        ASSERT_TRUE(::CommitUrlCacheEntryA("http://tarnwell.example/page", local, never, never, NORMAL_CACHE_ENTRY,
                                           nullptr, 0, nullptr, nullptr));
        CleanUrlCache(cache, KeepList());
        char buffer[4096];
        DWORD size = sizeof buffer;
        EXPECT_TRUE(::GetUrlCacheEntryInfoA("http://tarnwell.example/page",
                                            reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer), &size));
        EXPECT_EQ(cache.DeleteEntry("http://tarnwell.example/page"), 0u);
        EXPECT_FALSE(::GetUrlCacheEntryInfoA("http://tarnwell.example/page",
                                             reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer), &size));
    }
    EXPECT_NE(cache.DeleteEntry("http://never.example/"), 0u);
}

// The history object exists under Wine but answers E_NOTIMPL: the list is
// empty and clearing goes through without harm. On Windows the store is
// real and the same calls empty it.
TEST(BrowserHistory, OpensTheStoreAndClearsWhatItCan) {
    OleSession ole;
    BrowserHistoryOpening opening = OpenBrowserHistoryStore();
    ASSERT_TRUE(opening.store) << opening.failure;
    TUrlHistory history(std::move(opening.store));
    history.OnDelete = [](const THistoryItem&, bool& del) { del = true; };
    const int listed = history.Refresh();
    int pumped = 0;
    ClearUrlHistory(history, [&] { ++pumped; });
    EXPECT_EQ(pumped, listed);
    EXPECT_EQ(history.Refresh(), 0);
}

TEST(BrowserHistory, WithoutComTheFailureIsExplained) {
    // No OLE on this thread: creation fails and says why.
    BrowserHistoryOpening opening = OpenBrowserHistoryStore();
    EXPECT_FALSE(opening.store);
    EXPECT_NE(opening.failure.find("URL history"), std::string::npos);
}

}  // namespace
}  // namespace tarnwell::testing
