// snuffet.dll, the popup blocker stand-in: a browser helper object of
// Internet Explorer that cancels the new windows the lists and the level
// say to kill and reports each one to Tarnwell's main window; its
// registration; and the boot-time removal of the index files.
#define SNUFFET_LIBRARY
#include "stand-ins/popup/snuffet.h"

#include <ocidl.h>
#include <ole2.h>

#include <array>
#include <cstdint>
#include <string>

#include "base/handles.h"
#include "resident/index_files_win.h"
#include "resident/kill_report.h"
#include "resident/popup_lists.h"
#include "stand-ins/popup/popup_decision.h"
#include "ui/text_file.h"

namespace tarnwell {
namespace {

HINSTANCE library = nullptr;
LONG objects = 0;  // live objects and locks: the library may go when none

constexpr IID kBrowserEvents = {0x34a715a0, 0x6587, 0x11d0, {0x92, 0x4a, 0x00, 0x20, 0xaf, 0xc7, 0xac, 0x4d}};
constexpr IID kObjectWithSite = {0xfc4801a3, 0x2ba9, 0x11cf, {0xa2, 0x29, 0x00, 0xaa, 0x00, 0x3d, 0x73, 0x52}};
constexpr DISPID kNewWindow2 = 251;
constexpr DISPID kNewWindow3 = 273;
constexpr DWORD kUserInitiated = 0x2;  // NWMF_USERINITED

constexpr const char* kHelperObjects =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\";
constexpr const char* kLevelKey = "Software\\Tarnwell";

// The folder of this library, with a trailing backslash.
std::string LibraryFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(library, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string Narrow(BSTR text) {
    if (!text) return {};
    char narrow[2048] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
    return narrow;
}

PopupPolicy ReadPolicy() {
    PopupPolicy policy;
    const std::string folder = LibraryFolder();
    policy.allow = ReadListText(ReadWholeFile(folder + "allow.lst").value_or(""));
    policy.block = ReadListText(ReadWholeFile(folder + "block.lst").value_or(""));
    RegKey key;
    char level[16] = {};
    DWORD size = sizeof level - 1;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kLevelKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS &&
        ::RegQueryValueExA(key.get(), "Level", nullptr, nullptr, reinterpret_cast<BYTE*>(level), &size) ==
            ERROR_SUCCESS)
        policy.level = PopupLevelFromText(level);
    return policy;
}

BOOL CALLBACK FindTarnwell(HWND window, LPARAM found) {
    char className[32] = {}, title[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    ::GetWindowTextA(window, title, sizeof title);
    if (std::string(className) != "TMainForm" || std::string(title).rfind("Tarnwell", 0) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The report of one killed popup, for Tarnwell to count and announce.
void ReportKill() {
    HWND tarnwell = nullptr;
    ::EnumWindows(FindTarnwell, reinterpret_cast<LPARAM>(&tarnwell));
    if (!tarnwell) return;
    char payload[3] = {2, 'S', 'N'};
    COPYDATASTRUCT data{kKillReportTag, sizeof payload, payload};
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(tarnwell, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000, &answer);
}

// The helper object: sits in one browser window and answers its events.
class PopupKiller : public IObjectWithSite, public IDispatch {
public:
    PopupKiller() { ::InterlockedIncrement(&objects); }
    virtual ~PopupKiller() { ::InterlockedDecrement(&objects); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == kObjectWithSite)
            *out = static_cast<IObjectWithSite*>(this);
        else if (iid == IID_IDispatch || iid == kBrowserEvents)
            *out = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IObjectWithSite: the browser hands over its window when it loads the
    // object and takes it back (null) when it closes.
    STDMETHODIMP SetSite(IUnknown* site) override {
        Disconnect();
        if (!site) return S_OK;
        policy_ = ReadPolicy();
        IConnectionPointContainer* container = nullptr;
        if (SUCCEEDED(site->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) {
            if (SUCCEEDED(container->FindConnectionPoint(kBrowserEvents, &events_)) &&
                FAILED(events_->Advise(static_cast<IDispatch*>(this), &cookie_))) {
                events_->Release();
                events_ = nullptr;
            }
            container->Release();
        }
        site->AddRef();
        site_ = site;
        return S_OK;
    }
    STDMETHODIMP GetSite(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return site_ ? site_->QueryInterface(iid, out) : E_FAIL;
    }

    // IDispatch: only Invoke is called by the browser's events.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        if (!params) return S_OK;
        // The arguments come last first: NewWindow3 (ppDisp, Cancel, dwFlags,
        // bstrUrlContext, bstrUrl), NewWindow2 (ppDisp, Cancel).
        if (id == kNewWindow3 && params->cArgs == 5) {
            PopupRequest request;
            request.openerUrl = Narrow(params->rgvarg[1].bstrVal);
            request.userClicked = (params->rgvarg[2].lVal & kUserInitiated) != 0;
            NewWindow(request, params->rgvarg[3]);
        } else if (id == kNewWindow2 && params->cArgs == 2) {
            NewWindow(PopupRequest{}, params->rgvarg[0]);
        }
        return S_OK;
    }

private:
    void NewWindow(PopupRequest request, VARIANT& cancel) {
        if (cancel.vt != (VT_BYREF | VT_BOOL) || !cancel.pboolVal) return;
        request.ctrlHeld = ::GetKeyState(VK_CONTROL) < 0;
        request.scrollLockOn = (::GetKeyState(VK_SCROLL) & 1) != 0;
        if (!ShouldKillPopup(policy_, request)) return;
        *cancel.pboolVal = VARIANT_TRUE;
        ReportKill();
    }

    void Disconnect() {
        if (events_) {
            events_->Unadvise(cookie_);
            events_->Release();
            events_ = nullptr;
        }
        if (site_) {
            site_->Release();
            site_ = nullptr;
        }
    }

    LONG references_ = 1;
    IUnknown* site_ = nullptr;
    IConnectionPoint* events_ = nullptr;
    DWORD cookie_ = 0;
    PopupPolicy policy_ = ReadPolicy();
};

class Factory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = (iid == IID_IUnknown || iid == IID_IClassFactory) ? static_cast<IClassFactory*>(this) : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives with the library
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* killer = new PopupKiller;
        const HRESULT result = killer->QueryInterface(iid, out);
        killer->Release();
        return result;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        lock ? ::InterlockedIncrement(&objects) : ::InterlockedDecrement(&objects);
        return S_OK;
    }
};

Factory factory;

bool SetKeyValue(HKEY root, const std::string& key, const char* name, const std::string& value) {
    RegKey opened;
    if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, opened.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    return ::RegSetValueExA(opened.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// A string as Vintrel hands it over: its length in the four bytes before
// its characters, null when empty.
std::string PrefixedText(const char* text) {
    if (!text) return {};
    const std::int32_t length = *reinterpret_cast<const std::int32_t*>(text - 4);
    return length > 0 && length < 32768 ? std::string(text, static_cast<size_t>(length)) : std::string();
}

}  // namespace
}  // namespace tarnwell

using namespace tarnwell;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        library = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID id, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (id != kPopupKillerClass) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return objects == 0 ? S_OK : S_FALSE; }

// The class, served by this library in the browser's threads, and its place
// among Internet Explorer's helper objects (not Explorer's windows).
STDAPI DllRegisterServer() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(library, path, MAX_PATH);
    const std::string clsid = std::string("CLSID\\") + kPopupKillerClassText;
    const bool registered = SetKeyValue(HKEY_CLASSES_ROOT, clsid, nullptr, "Tarnwell Popup Killer") &&
                            SetKeyValue(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32", nullptr, path) &&
                            SetKeyValue(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32", "ThreadingModel", "Apartment") &&
                            SetKeyValue(HKEY_LOCAL_MACHINE, kHelperObjects + std::string(kPopupKillerClassText),
                                        nullptr, "Tarnwell Popup Killer");
    if (registered) {
        RegKey helper;
        const DWORD noExplorer = 1;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kHelperObjects + std::string(kPopupKillerClassText)).c_str(), 0,
                            KEY_SET_VALUE, helper.put()) == ERROR_SUCCESS)
            ::RegSetValueExA(helper.get(), "NoExplorer", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&noExplorer),
                             sizeof noExplorer);
    }
    return registered ? S_OK : E_FAIL;
}

STDAPI DllUnregisterServer() {
    const std::string clsid = std::string("CLSID\\") + kPopupKillerClassText;
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kHelperObjects + std::string(kPopupKillerClassText)).c_str());
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, (clsid + "\\InprocServer32").c_str());
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, clsid.c_str());
    return S_OK;
}

extern "C" void __stdcall DeleteIndexFiles(int count, const char* /*self*/, const char* first, const char* second,
                                           const char* third) {
    std::array<bool, 3> chosen{false, false, false};
    const char* switches[3] = {first, second, third};
    for (int i = 0; i < count && i < 3; ++i) {
        const std::string word = PrefixedText(switches[i]);
        if (word == "/t" || word == "/T") chosen[0] = true;
        if (word == "/h" || word == "/H") chosen[1] = true;
        if (word == "/c" || word == "/C") chosen[2] = true;
    }
    RemoveListedIndexFiles(LibraryFolder() + "index.lst", chosen);
}
