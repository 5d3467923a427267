#pragma once
// The shape of a control declaration: which window page it sits on, its
// kind, texts, position, default and settings place. The table itself
// belongs to the application; the UI layer builds controls from rows of
// this shape. Portable: no Windows headers.
#include <string_view>

namespace tarnwell {

// Tab pages in the order the page control shows them. `Main` holds what sits directly on the main window, `Tray` the items of
// the tray icon's menu, `CookieKeep` what sits directly on the Cookie
// Keeper dialog and `CookieKeepIE`..`CookieKeepFlash` its four tabs;
// `Notice`, `PopupList` and `Locate` are the program's smaller windows.
enum class PageId {
    IE, AOL, NS, OP, FF, MP, W, Plugins, Shredder, Security, Settings, ControlPanel,
    Main, Tray,
    CookieKeep, CookieKeepIE, CookieKeepFF, CookieKeepNS, CookieKeepFlash,
    Notice,
    PopupList,
    Locate,
    Details,
};
inline constexpr int kCookieKeepPageCount = 4;
inline constexpr int kTabPageCount = 12;

enum class ControlKind {
    Image,
    PageControl,
    Page,  // a tab sheet; the n-th Page row shows PageId n
    GroupBox,
    Label,
    RiskLabel,
    CheckBox,
    Button,
    Edit,
    FolderEdit,
    SpinEdit,
    TrackBar,
    HotKey,
    ComboBox,
    ListBox,
    CheckListBox,
    MenuItem,
    MenuSeparator,
    SubMenu,
};

enum ControlFlags : unsigned {
    F_READONLY = 1u << 0,
    F_HIDDEN = 1u << 1,
    F_BOLD = 1u << 2,
    F_SORTED = 1u << 3,
    F_SUBMENU = 1u << 4,
    F_DEFAULT = 1u << 5,
    F_MULTISELECT = 1u << 6,
    F_DISABLED = 1u << 7,
};

// The property the settings file keeps for a control of each kind.
enum class StoredProperty { None, Checked, Text, Position, Tag, Value, HotKey };

struct ControlDecl {
    std::string_view name;
    int id;
    PageId page;
    ControlKind kind;
    std::string_view caption;
    std::string_view hint;
    int x, y, w, h;
    std::string_view initial;  // value text of the default state
    unsigned flags;
    int stored;                // 1-based place in the settings list, 0 = not stored
};

struct ValueRange {
    int min, max;
};
// The range of a spin edit or slider; {0, 0} for controls without one.

}  // namespace tarnwell
