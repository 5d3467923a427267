#include "categories/ie_cache.h"

#include <wininet.h>

#include <vector>

#include "engine/dos_time.h"
#include "ui/late_bound.h"

namespace tarnwell {

namespace {

using FindFirstGroupFn = HANDLE(WINAPI*)(DWORD, DWORD, LPVOID, DWORD, GROUPID*, LPVOID);
using FindNextGroupFn = BOOL(WINAPI*)(HANDLE, GROUPID*, LPVOID);
using GetGroupAttributeFn = BOOL(WINAPI*)(GROUPID, DWORD, DWORD, LPINTERNET_CACHE_GROUP_INFOA, LPDWORD, LPVOID);
using SetGroupAttributeFn = BOOL(WINAPI*)(GROUPID, DWORD, DWORD, LPINTERNET_CACHE_GROUP_INFOA, LPVOID);
using FindFirstEntryExFn = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, GROUPID, LPINTERNET_CACHE_ENTRY_INFOA, LPDWORD,
                                           LPVOID, LPDWORD, LPVOID);
using FindNextEntryExFn = BOOL(WINAPI*)(HANDLE, LPINTERNET_CACHE_ENTRY_INFOA, LPDWORD, LPVOID, LPDWORD, LPVOID);
using DeleteGroupFn = BOOL(WINAPI*)(GROUPID, DWORD, LPVOID);
using DeleteEntryFn = BOOL(WINAPI*)(LPCSTR);
using FindCloseFn = BOOL(WINAPI*)(HANDLE);

struct WinInet {
    FindFirstGroupFn findFirstGroup = nullptr;
    FindNextGroupFn findNextGroup = nullptr;
    GetGroupAttributeFn getGroupAttribute = nullptr;
    SetGroupAttributeFn setGroupAttribute = nullptr;
    FindFirstEntryExFn findFirstEntryEx = nullptr;
    FindNextEntryExFn findNextEntryEx = nullptr;
    DeleteGroupFn deleteGroup = nullptr;
    DeleteEntryFn deleteEntry = nullptr;
    FindCloseFn findClose = nullptr;
    bool found = false;
};

// wininet comes with Internet Explorer, not with the system: its calls are
// bound whatever the system's age, and all of them or none are used. Once
// loaded, it stays loaded for the program's life.
const WinInet& Library() {
    static const WinInet library = [] {
        constexpr const char* kModule = "wininet.dll";
        WinInet w;
        w.findFirstGroup = BindOptional<FindFirstGroupFn>(kModule, "FindFirstUrlCacheGroup");
        w.findNextGroup = BindOptional<FindNextGroupFn>(kModule, "FindNextUrlCacheGroup");
        w.getGroupAttribute = BindOptional<GetGroupAttributeFn>(kModule, "GetUrlCacheGroupAttributeA");
        w.setGroupAttribute = BindOptional<SetGroupAttributeFn>(kModule, "SetUrlCacheGroupAttributeA");
        w.findFirstEntryEx = BindOptional<FindFirstEntryExFn>(kModule, "FindFirstUrlCacheEntryExA");
        w.findNextEntryEx = BindOptional<FindNextEntryExFn>(kModule, "FindNextUrlCacheEntryExA");
        w.deleteGroup = BindOptional<DeleteGroupFn>(kModule, "DeleteUrlCacheGroup");
        w.deleteEntry = BindOptional<DeleteEntryFn>(kModule, "DeleteUrlCacheEntry");
        w.findClose = BindOptional<FindCloseFn>(kModule, "FindCloseUrlCache");
        w.found = w.findFirstGroup && w.findNextGroup && w.getGroupAttribute && w.setGroupAttribute &&
                  w.findFirstEntryEx && w.findNextEntryEx && w.deleteGroup && w.deleteEntry && w.findClose;
        return w;
    }();
    return library;
}

constexpr std::uint32_t kNoLibrary = 2;

const char* Pattern(TSearchPattern pattern) {
    switch (pattern) {
        case TSearchPattern::spCookies: return "Cookie:";
        case TSearchPattern::spHistory: return "Visited:";
        case TSearchPattern::spUrl: return "";
        case TSearchPattern::spAll: break;
    }
    return nullptr;
}

// The cache's UTC time as a local date-time; 0 when it cannot be converted.
double LocalDateTime(const FILETIME& time) {
    FILETIME local;
    SYSTEMTIME calendar;
    if (!::FileTimeToLocalFileTime(&time, &local) || !::FileTimeToSystemTime(&local, &calendar)) return 0;
    return CalendarToDateTime(calendar.wYear, calendar.wMonth, calendar.wDay, calendar.wHour, calendar.wMinute,
                              calendar.wSecond, calendar.wMilliseconds);
}

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

bool TIECache::LibraryFound() { return Library().found; }

TIECache::~TIECache() {
    if (entryFind_) FindCloseEntries();
    CloseGroupFind();
}

// Each group search starts afresh (the walk asks for the first group after
// every deletion), so the previous search's handle is closed first.
void TIECache::CloseGroupFind() {
    if (groupFind_ && LibraryFound()) Library().findClose(groupFind_);
    groupFind_ = nullptr;
}

std::uint32_t TIECache::FindFirstGroup(std::int64_t& groupId) {
    if (!LibraryFound()) return kNoLibrary;
    CloseGroupFind();
    GROUPID id = 0;
    groupFind_ = Library().findFirstGroup(0, 0, nullptr, 0, &id, nullptr);
    if (!groupFind_) return ::GetLastError();
    groupId = id;
    static_assert(sizeof(INTERNET_CACHE_GROUP_INFOA) == 156);
    INTERNET_CACHE_GROUP_INFOA info{};
    DWORD size = sizeof info;
    info.dwGroupSize = size;
    group_ = TGroupInfo{};
    if (Library().getGroupAttribute(id, 0, CACHEGROUP_ATTRIBUTE_GET_ALL, &info, &size, nullptr)) {
        group_.diskUsage = info.dwDiskUsage;
        group_.diskQuota = info.dwDiskQuota;
        for (int i = 0; i < 4; ++i) group_.ownerStorage[i] = info.dwOwnerStorage[i];
        group_.groupName.assign(info.szGroupName, strnlen(info.szGroupName, GROUPNAME_MAX_LENGTH));
    }
    bool cancel = false;
    if (OnGroup) OnGroup(*this, groupId, cancel);
    return cancel ? kFindCancelled : 0;
}

std::uint32_t TIECache::DeleteGroup(std::int64_t groupId) {
    if (!LibraryFound()) return kNoLibrary;
    return Library().deleteGroup(groupId, CACHEGROUP_FLAG_FLUSHURL_ONDELETE, nullptr) ? 0 : ::GetLastError();
}

void TIECache::TakeEntry(const void* data) {
    const auto* info = static_cast<const INTERNET_CACHE_ENTRY_INFOA*>(data);
    entry_.sourceUrl = Text(info->lpszSourceUrlName);
    entry_.localFileName = Text(info->lpszLocalFileName);
    entry_.entryType = info->CacheEntryType;
    entry_.useCount = info->dwUseCount;
    entry_.hitRate = info->dwHitRate;
    entry_.size = (static_cast<std::uint64_t>(info->dwSizeHigh) << 32) | info->dwSizeLow;
    entry_.lastModified = LocalDateTime(info->LastModifiedTime);
    entry_.expire = LocalDateTime(info->ExpireTime);
    entry_.lastAccess = LocalDateTime(info->LastAccessTime);
    entry_.lastSync = LocalDateTime(info->LastSyncTime);
    // The header text is counted, not terminated.
    entry_.headerInfo = info->lpHeaderInfo ? std::string(static_cast<const char*>(info->lpHeaderInfo),
                                                         info->dwHeaderInfoSize)
                                           : std::string();
    entry_.fileExtension = Text(info->lpszFileExtension);
    entry_.exemptDelta = info->dwExemptDelta;
}

std::uint32_t TIECache::EntryFound(const void* data) {
    TakeEntry(data);
    bool cancel = false;
    if (OnEntry) OnEntry(*this, cancel);
    return cancel ? kFindCancelled : 0;
}

// Both finds are called twice: once for the size, once with a buffer of it.
std::uint32_t TIECache::FindFirstEntry(std::int64_t groupId) {
    if (!LibraryFound()) return kNoLibrary;
    // An enumeration left open by its caller ends here rather than leaking.
    if (entryFind_) FindCloseEntries();
    const DWORD mask = EntryTypeMask(FilterOptions);
    DWORD size = 0;
    entryFind_ = Library().findFirstEntryEx(Pattern(SearchPattern), 0, mask, groupId, nullptr, &size, nullptr,
                                            nullptr, nullptr);
    if (!entryFind_ && ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return ::GetLastError();
    if (entryFind_) Library().findClose(entryFind_);
    std::vector<unsigned char> buffer(std::max<DWORD>(size, sizeof(INTERNET_CACHE_ENTRY_INFOA)));
    size = static_cast<DWORD>(buffer.size());
    entryFind_ = Library().findFirstEntryEx(Pattern(SearchPattern), 0, mask, groupId,
                                            reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer.data()), &size,
                                            nullptr, nullptr, nullptr);
    if (!entryFind_) return ::GetLastError();
    return EntryFound(buffer.data());
}

std::uint32_t TIECache::FindNextEntry() {
    if (!LibraryFound()) return kNoLibrary;
    if (!entryFind_) return kNoMoreItems;
    DWORD size = 0;
    if (!Library().findNextEntryEx(entryFind_, nullptr, &size, nullptr, nullptr, nullptr) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return ::GetLastError();
    std::vector<unsigned char> buffer(std::max<DWORD>(size, sizeof(INTERNET_CACHE_ENTRY_INFOA)));
    size = static_cast<DWORD>(buffer.size());
    if (!Library().findNextEntryEx(entryFind_, reinterpret_cast<LPINTERNET_CACHE_ENTRY_INFOA>(buffer.data()), &size,
                                   nullptr, nullptr, nullptr))
        return ::GetLastError();
    return EntryFound(buffer.data());
}

std::uint32_t TIECache::FindCloseEntries() {
    if (!LibraryFound()) return kNoLibrary;
    const BOOL closed = entryFind_ ? Library().findClose(entryFind_) : FALSE;
    entryFind_ = nullptr;
    return closed ? 0 : ::GetLastError();
}

std::uint32_t TIECache::DeleteEntry(const std::string& sourceUrl) {
    if (!LibraryFound()) return kNoLibrary;
    if (!Library().deleteEntry(sourceUrl.c_str())) return ::GetLastError();
    entry_ = CacheEntry{};
    return 0;
}

}  // namespace tarnwell
