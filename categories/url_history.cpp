#include "categories/url_history.h"

#include <algorithm>
#include <cctype>

namespace tarnwell {

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Titles and addresses sort without regard to ASCII letter case.
int CompareText(const std::string& a, const std::string& b) {
    const size_t length = std::min(a.size(), b.size());
    for (size_t i = 0; i < length; ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a[i]));
        const int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareNumber(double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); }

int CompareBy(TSortFieldOption field, const THistoryItem& a, const THistoryItem& b) {
    switch (field) {
        case TSortFieldOption::sfTitle: return CompareText(a.Title, b.Title);
        case TSortFieldOption::sfURL: return CompareText(a.Url, b.Url);
        case TSortFieldOption::sfLastVisited: return CompareNumber(a.LastVisited, b.LastVisited);
        case TSortFieldOption::sfLastUpdated: return CompareNumber(a.LastUpdated, b.LastUpdated);
        case TSortFieldOption::sfExpires: return CompareNumber(a.Expires, b.Expires);
    }
    return 0;
}

}  // namespace

bool TUrlHistory::Matches(const THistoryItem& item) const {
    if (Search.empty()) return true;
    switch (SearchField) {
        case TSearchFieldOption::seTitle: return Contains(item.Title, Search);
        case TSearchFieldOption::seURL: return Contains(item.Url, Search);
        case TSearchFieldOption::seBoth: return Contains(item.Title, Search) || Contains(item.Url, Search);
    }
    return false;
}

void TUrlHistory::Sort() {
    const bool descending = SortDirection == TSortDirectionOption::sdDescending;
    std::stable_sort(items_.begin(), items_.end(), [this, descending](const THistoryItem& a, const THistoryItem& b) {
        const int order = CompareBy(SortField, a, b);
        return descending ? order > 0 : order < 0;
    });
}

int TUrlHistory::Refresh() {
    items_.clear();
    if (!store_ || !store_->EnumUrls()) return 0;
    for (THistoryItem item; store_->Next(item); item = THistoryItem{}) {
        if (!Matches(item)) continue;
        bool accept = true;
        if (OnAccept) OnAccept(item, accept);
        if (accept) items_.push_back(std::move(item));
    }
    Sort();
    return static_cast<int>(items_.size());
}

void TUrlHistory::DeleteUrl(const std::string& url) {
    if (store_) store_->DeleteUrl(url);
}

int TUrlHistory::DeleteAll() {
    if (!store_ || !store_->EnumUrls()) return 0;
    int deleted = 0;
    for (THistoryItem item; store_->Next(item); item = THistoryItem{}) {
        bool del = false;
        if (OnDelete) OnDelete(item, del);
        if (del && store_->DeleteUrl(item.Url)) ++deleted;
    }
    return deleted;
}

void TUrlHistory::ClearHistory() {
    if (store_) store_->ClearHistory();
}

void ClearUrlHistory(TUrlHistory& history, const std::function<void()>& processMessages) {
    history.Search.clear();
    history.Refresh();
    // A copy: the list is the component's and a message may refresh it.
    const std::vector<THistoryItem> listed = history.Items();
    for (const THistoryItem& item : listed) {
        history.DeleteUrl(item.Url);
        if (processMessages) processMessages();
    }
    history.DeleteAll();
    history.ClearHistory();
}

}  // namespace tarnwell
