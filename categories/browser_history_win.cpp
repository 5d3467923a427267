#include "categories/browser_history.h"

#include <cstdio>
#include <vector>

#include <urlhist.h>

#include "engine/file_time_win.h"
#include "base/handles.h"

namespace tarnwell {

namespace {

// The history object and its second-version interface, spelled out so
// that the program does not depend on the import library's copies.
constexpr CLSID kUrlHistoryClass = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

std::string Narrow(const wchar_t* text) {
    if (!text || !*text) return {};
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::vector<char> buffer(size);
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), size, nullptr, nullptr);
    return std::string(buffer.data());
}

std::wstring Widen(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 1) return {};
    std::vector<wchar_t> buffer(size);
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer.data(), size);
    return std::wstring(buffer.data());
}

// Local time at DOS resolution as a date-time; 0 when it has no DOS form.
double HistoryDate(const FILETIME& time) {
    const auto dos = LocalDosTime(time);
    return dos ? DosToDateTime(*dos) : 0.0;
}

std::string HresultText(const char* step, HRESULT result) {
    char text[96];
    std::snprintf(text, sizeof text, "%s failed (0x%08lX)", step, static_cast<unsigned long>(result));
    return text;
}

class BrowserHistoryStore : public UrlHistoryStore {
public:
    explicit BrowserHistoryStore(ComPtr<IUrlHistoryStg2> store) : store_(std::move(store)) {}

    bool EnumUrls() override {
        enumerator_.reset();
        return SUCCEEDED(store_.get()->EnumUrls(enumerator_.put())) && enumerator_;
    }

    bool Next(THistoryItem& item) override {
        if (!enumerator_) return false;
        STATURL entry{};
        entry.cbSize = sizeof entry;
        ULONG fetched = 0;
        if (enumerator_.get()->Next(1, &entry, &fetched) != S_OK || fetched != 1) return false;
        item.Url = Narrow(entry.pwcsUrl);
        item.Title = Narrow(entry.pwcsTitle);
        item.LastVisited = HistoryDate(entry.ftLastVisited);
        item.LastUpdated = HistoryDate(entry.ftLastUpdated);
        item.Expires = HistoryDate(entry.ftExpires);
        ::CoTaskMemFree(entry.pwcsUrl);
        ::CoTaskMemFree(entry.pwcsTitle);
        return true;
    }

    bool DeleteUrl(const std::string& url) override {
        const std::wstring wide = Widen(url);
        return SUCCEEDED(store_.get()->DeleteUrl(wide.c_str(), 0));
    }

    bool ClearHistory() override { return SUCCEEDED(store_.get()->ClearHistory()); }

private:
    ComPtr<IUrlHistoryStg2> store_;
    ComPtr<IEnumSTATURL> enumerator_;
};

}  // namespace

BrowserHistoryOpening OpenBrowserHistoryStore() {
    ComPtr<IUnknown> object;
    HRESULT result = ::CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**>(object.put()));
    if (FAILED(result)) return {nullptr, HresultText("Creating the URL history object", result)};
    ComPtr<IUrlHistoryStg2> store;
    result = object.get()->QueryInterface(kUrlHistoryStg2, reinterpret_cast<void**>(store.put()));
    if (FAILED(result) || !store) return {nullptr, HresultText("Asking for the URL history store", result)};
    return {std::make_unique<BrowserHistoryStore>(std::move(store)), {}};
}

}  // namespace tarnwell
