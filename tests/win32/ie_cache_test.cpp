// The WinINet binding on what Wine implements: cache entries can be made
// and deleted by name, but the group and extended-enumeration functions
// answer with errors, so the walk finds nothing to clean and ends at once.
// The checks state Wine's answers: under Windows these tests would fail.
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
    // Wine answers the group search with no handle (and no error code, so
    // what the binding makes of it is not checked here) and the extended
    // enumeration with an error, which the binding passes on.
    GROUPID group = 0;
    EXPECT_EQ(::FindFirstUrlCacheGroup(0, CACHEGROUP_SEARCH_ALL, nullptr, 0, &group, nullptr), nullptr);
    EXPECT_NE(cache.FindFirstEntry(0), 0u);
    cache.FindCloseEntries();
    EXPECT_NE(cache.DeleteEntry("http://never.example/"), 0u);
}

// With those errors the walk ends at once and cleans nothing, while an
// entry named to the binding still goes.
TEST(IECache, WalkWithoutGroupsCleansNothingAndNamedEntriesGo) {
    const char* url = "http://tarnwell.example/page";
    char local[MAX_PATH] = {};
    ASSERT_TRUE(::CreateUrlCacheEntryA(url, 0, "htm", local, 0));
    ASSERT_TRUE(WriteTextFile(local, "page"));
    FILETIME never{};
    ASSERT_TRUE(::CommitUrlCacheEntryA(url, local, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr));
    TIECache cache;
    CleanUrlCache(cache, KeepList());
    char buffer[4096];
    DWORD size = sizeof buffer;
    EXPECT_TRUE(::GetUrlCacheEntryInfoA(url, reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer), &size));
    EXPECT_EQ(cache.DeleteEntry(url), 0u);
    size = sizeof buffer;
    EXPECT_FALSE(::GetUrlCacheEntryInfoA(url, reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer), &size));
}

// The history object exists under Wine but answers E_NOTIMPL to listing:
// the list is empty and clearing goes through without calling back. That
// a real store is emptied cannot be shown here.
TEST(BrowserHistory, OpensTheStoreAndClearsWhatItCan) {
    OleSession ole;
    BrowserHistoryOpening opening = OpenBrowserHistoryStore();
    ASSERT_TRUE(opening.store) << opening.failure;
    TUrlHistory history(std::move(opening.store));
    history.OnDelete = [](const THistoryItem&, bool& del) { del = true; };
    EXPECT_EQ(history.Refresh(), 0);
    int pumped = 0;
    ClearUrlHistory(history, [&] { ++pumped; });
    EXPECT_EQ(pumped, 0);
}

TEST(BrowserHistory, WithoutComTheFailureIsExplained) {
    // No OLE on this thread: creation fails and says why.
    BrowserHistoryOpening opening = OpenBrowserHistoryStore();
    EXPECT_FALSE(opening.store);
    EXPECT_NE(opening.failure.find("URL history"), std::string::npos);
}

}  // namespace
}  // namespace tarnwell::testing
