#include "cookiekeep/cookie_keep.h"

#include <cstdio>

#include "app/control_table.h"
#include "app/settings_file_win.h"
#include "base/file_names.h"
#include "categories/browser_items.h"
#include "engine/file_info_win.h"
#include "ui/control_factory.h"
#include "ui/form.h"
#include "ui/text_file.h"

namespace tarnwell {

namespace {

// One tab: its candidate and keep lists, its four move buttons, and the
// component name its keep list is stored under.
struct Tab {
    int source, keep;
    int include, includeAll, excludeAll, exclude;
    const char* keepComponent;
};

constexpr const char* kClass = "TCookieKeep";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

const Tab kTabs[kCookieKeepPageCount] = {
    {ctl::SrcList, ctl::DstList, ctl::IncludeBtn, ctl::IncAllBtn, ctl::ExAllBtn, ctl::ExcludeBtn, "DstList"},
    {ctl::FFSrcList, ctl::FFDstList, ctl::FFIncludeBtn, ctl::FFIncAllBtn, ctl::FFExAllBTN, ctl::FFExcludeBTN,
     "FFDstList"},
    {ctl::NSSrcList, ctl::NSDstList, ctl::NSIncludeBtn, ctl::NSIncAllBTN, ctl::NSExAllBTN, ctl::NSExcludeBTN,
     "NSDstList"},
    {ctl::FlashSrcList, ctl::FlashDstList, ctl::FlashIncludeBTN, ctl::FlashIncAllBTN, ctl::FlashExAllBTN,
     ctl::FlashExcludeBTN, "FlashDstList"},
};

std::string SettingsFile(const std::string& programDir) { return programDir + "settings.ini"; }

}  // namespace

TCookieKeep::TCookieKeep(HWND owner, CookieKeepSources sources) : owner_(owner), sources_(std::move(sources)) {}

TCookieKeep::~TCookieKeep() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool TCookieKeep::Create(HFONT font) {
    const FormLook look{kClass, "Cookie Keeper", kStyle, kExStyle, 433, 420, nullptr};
    CreateForm(look, FormWindowProc<TCookieKeep>, owner_, this);
    if (!hwnd_) return false;
    CreateControls(font);
    WireEvents();
    if (sources_.settings) LoadKeepLists();
    FindSharedObjects();
    return true;
}

void TCookieKeep::CreateControls(HFONT font) {
    if (sources_.banner)
        banner_.reset(static_cast<HBITMAP>(::CopyImage(sources_.banner, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    CreateBanner(hwnd_, *FindControl(ctl::CKBanner), banner_.get());
    const std::vector<HWND> pageWindows =
        CreatePages(pages_, hwnd_, *FindControl(ctl::CKPages), AllControls(), PageId::CookieKeep, controls_, font);
    pages_.SetActivePageIndex(0);

    const ControlFonts fonts{font, font};
    for (const ControlDecl& decl : AllControls()) {
        HWND parent = nullptr;
        if (decl.page == PageId::CookieKeep) parent = hwnd_;
        const auto page = static_cast<std::size_t>(decl.page) - static_cast<std::size_t>(PageId::CookieKeepIE);
        if (decl.page >= PageId::CookieKeepIE && page < pageWindows.size()) parent = pageWindows[page];
        if (!parent) continue;
        if (auto control = CreateControl(decl, RangeOf(decl), parent, fonts)) controls_.Add(std::move(control));
    }
}

void TCookieKeep::WireEvents() {
    for (int tab = 0; tab < kCookieKeepPageCount; ++tab) {
        const Tab& t = kTabs[tab];
        controls_.Get<TButton>(t.include).OnClick = [this, tab] { MoveSelected(tab, true); };
        controls_.Get<TButton>(t.exclude).OnClick = [this, tab] { MoveSelected(tab, false); };
        controls_.Get<TButton>(t.includeAll).OnClick = [this, tab] { MoveAll(tab, true); };
        controls_.Get<TButton>(t.excludeAll).OnClick = [this, tab] { MoveAll(tab, false); };
        ListBox(t.source).OnClick = [this, tab] { RefreshButtons(tab); };
        ListBox(t.keep).OnClick = [this, tab] { RefreshButtons(tab); };
    }
    controls_.Get<TButton>(ctl::OKBtn).OnClick = [this] { Close(); };
}

std::optional<KeepList> TCookieKeep::List(int listId) const {
    if (!sources_.settings) return std::nullopt;
    return Shown(listId);
}

// From the text read at start-up, the same the settings came from.
void TCookieKeep::LoadKeepLists() {
    for (const Tab& tab : kTabs) {
        const std::string section = KeepListSection("Settings", tab.keepComponent);
        const KeepList list =
            LoadKeepList([&](const std::string& key) { return sources_.settings->Get(section, key); });
        for (const std::string& item : list.Items()) ListBox(tab.keep).AddItem(item);
    }
}

// Every list's section is replaced in one rewrite of the file, which
// carries the settings and any other section over; an empty list leaves
// no section at all.
DWORD TCookieKeep::SaveKeepLists() const {
    return UpdateSettingsFile(SettingsFile(sources_.programDir), [this](IniText& ini) {
        for (const Tab& tab : kTabs)
            ini.ReplaceSection(KeepListSection("Settings", tab.keepComponent), KeepListKeys(Shown(tab.keep)));
    });
}

void TCookieKeep::ReportSaveFailure(DWORD error) const {
    char text[768];
    std::snprintf(text, sizeof text,
                  "Tarnwell could not save the Cookie Keeper's lists to %s (error %lu). The file keeps the lists "
                  "it had before; make sure the file and its folder can be written.",
                  SettingsFile(sources_.programDir).c_str(), static_cast<unsigned long>(error));
    ::OutputDebugStringA(text);
    ::MessageBoxA(hwnd_, text, "Error", MB_OK | MB_ICONERROR);
}

// The shared objects live in the first folder of "#SharedObjects" (a
// random name per installation).
void TCookieKeep::FindSharedObjects() {
    const std::string flash = sources_.locations ? sources_.locations->FlashDir : std::string();
    if (flash.empty()) return;
    const std::string root = flash + "#SharedObjects\\";
    if (!DirectoryExists(root)) return;
    const auto first = FirstFolderEntry(root);
    if (!first || !(first->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    soPath_ = root + first->cFileName + "\\";
    FillFlashCandidates();
}

void TCookieKeep::ShowModal(int tab) {
    if (tab >= 0) pages_.SetActivePageIndex(tab);
    FormShow();
    modal_ = true;
    RunModal(owner_, hwnd_, modal_);
}

// Lists that were never loaded are not saved over the ones in the file.
void TCookieKeep::Close() {
    if (sources_.settings) {
        const DWORD error = SaveKeepLists();
        if (error != ERROR_SUCCESS) ReportSaveFailure(error);
    }
    modal_ = false;
    ::PostMessageA(hwnd_, WM_NULL, 0, 0);  // wake the modal loop
}

void TCookieKeep::FormShow() {
    FillIECandidates();
    const std::string fireFox = sources_.fireFoxProfile ? sources_.fireFoxProfile() : std::string();
    if (!fireFox.empty() && DirectoryExists(fireFox)) FillCookieDomains(1, fireFox);
    const std::string netscape = sources_.netscapeProfile ? sources_.netscapeProfile() : std::string();
    if (!netscape.empty() && DirectoryExists(netscape)) {
        ListBox(kTabs[2].source).Clear();
        if (auto data = NetscapeDataFolder(netscape)) FillCookieDomains(2, *data);
    }
    FillFlashCandidates();
    for (int tab = 0; tab < kCookieKeepPageCount; ++tab) RefreshButtons(tab);
}

void TCookieKeep::FillIECandidates() {
    TListBox& source = ListBox(kTabs[0].source);
    source.Clear();
    const std::string cookies = sources_.locations ? sources_.locations->CookieDir : std::string();
    if (cookies.empty()) return;
    const KeepList kept = Shown(kTabs[0].keep);
    WIN32_FIND_DATAA entry;
    FindHandle listing(::FindFirstFileA(JoinPath(cookies, "*.txt").c_str(), &entry));
    if (!listing) return;
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if (!(entry.dwFileAttributes & kNotOrdinary) && !kept.Contains(entry.cFileName)) source.AddItem(entry.cFileName);
    } while (::FindNextFileA(listing.get(), &entry));
}

void TCookieKeep::FillCookieDomains(int tab, const std::string& folder) {
    TListBox& source = ListBox(kTabs[tab].source);
    source.Clear();
    const std::string file = JoinPath(folder, "cookies.txt");
    if (::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    for (const std::string& domain : CookieDomains(ReadWholeFile(file).value_or(""))) source.AddItem(domain);
}

void TCookieKeep::FillFlashCandidates() {
    TListBox& source = ListBox(kTabs[3].source);
    source.Clear();
    if (soPath_.empty()) return;
    const KeepList kept = Shown(kTabs[3].keep);
    WIN32_FIND_DATAA entry;
    FindHandle listing(::FindFirstFileA(JoinPath(soPath_, "*.*").c_str(), &entry));
    if (!listing) return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == ".." || !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (!kept.Contains(name)) source.AddItem(name);
    } while (::FindNextFileA(listing.get(), &entry));
}

// Selected entries go over from last to first, so they arrive in reverse.
void TCookieKeep::MoveSelected(int tab, bool toKeep) {
    TListBox& from = ListBox(toKeep ? kTabs[tab].source : kTabs[tab].keep);
    TListBox& to = ListBox(toKeep ? kTabs[tab].keep : kTabs[tab].source);
    int first = -1;
    for (int i = 0; i < from.ItemCount() && first < 0; ++i)
        if (from.Selected(i)) first = i;
    for (int i = from.ItemCount() - 1; i >= 0; --i) {
        if (!from.Selected(i)) continue;
        to.AddItem(from.Item(i));
        from.DeleteItem(i);
    }
    ::SetFocus(from.Handle());
    const int select = first < 0 ? 0 : std::min(first, from.ItemCount() - 1);
    from.SelectOnly(from.ItemCount() == 0 ? -1 : select);
    RefreshButtons(tab);
}

void TCookieKeep::MoveAll(int tab, bool toKeep) {
    TListBox& from = ListBox(toKeep ? kTabs[tab].source : kTabs[tab].keep);
    TListBox& to = ListBox(toKeep ? kTabs[tab].keep : kTabs[tab].source);
    for (const std::string& item : from.Items()) to.AddItem(item);
    from.Clear();
    ::SetFocus(from.Handle());
    RefreshButtons(tab);
}

void TCookieKeep::RefreshButtons(int tab) {
    const Tab& t = kTabs[tab];
    const bool candidates = ListBox(t.source).ItemCount() > 0, kept = ListBox(t.keep).ItemCount() > 0;
    controls_.Get<TButton>(t.include).SetEnabled(candidates);
    controls_.Get<TButton>(t.includeAll).SetEnabled(candidates);
    controls_.Get<TButton>(t.excludeAll).SetEnabled(kept);
    controls_.Get<TButton>(t.exclude).SetEnabled(kept);
}

LRESULT TCookieKeep::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:  // the title-bar close saves as the OK button does
            Close();
            return 0;
        case WM_COMMAND:
            if (lParam) controls_.RouteCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            RoutePageChange(pages_, lParam);
            return 0;
        case WM_DESTROY:
            DetachForm(hwnd_);
            hwnd_ = nullptr;
            return 0;
        default:
            return ::DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

}  // namespace tarnwell
