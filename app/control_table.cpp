#include "app/control_table.h"

#include <algorithm>
#include <array>

namespace tarnwell {

namespace {

constexpr ControlDecl kControls[] = {
#define CONTROL(name, id, page, kind, caption, hint, x, y, w, h, initial, flags, stored) \
    {#name, id, PageId::page, ControlKind::kind, caption, hint, x, y, w, h, initial, flags, stored},
#include "app/controls.def"
#undef CONTROL
};

std::array<const ControlDecl*, kStoredPropertyCount> BuildStoredOrder() {
    std::array<const ControlDecl*, kStoredPropertyCount> order{};
    for (const ControlDecl& decl : kControls)
        if (decl.stored >= 1 && decl.stored <= kStoredPropertyCount) order[decl.stored - 1] = &decl;
    return order;
}

}  // namespace

ValueRange RangeOf(const ControlDecl& decl) {
#define CONTROL(...)
#define RANGE(control, low, high) \
    if (decl.name == #control) return {low, high};
#include "app/controls.def"
#undef RANGE
#undef CONTROL
    return {0, 0};
}

std::span<const ControlDecl> AllControls() { return kControls; }

const ControlDecl* FindControl(std::string_view name) {
    auto it = std::find_if(std::begin(kControls), std::end(kControls),
                           [&](const ControlDecl& d) { return d.name == name; });
    return it == std::end(kControls) ? nullptr : &*it;
}

const ControlDecl* FindControl(int id) {
    auto it = std::find_if(std::begin(kControls), std::end(kControls), [&](const ControlDecl& d) { return d.id == id; });
    return it == std::end(kControls) ? nullptr : &*it;
}

StoredProperty StoredPropertyOf(const ControlDecl& decl) {
    if (decl.stored == 0) return StoredProperty::None;
    switch (decl.kind) {
        case ControlKind::CheckBox: return StoredProperty::Checked;
        case ControlKind::Edit:
        case ControlKind::FolderEdit: return StoredProperty::Text;
        case ControlKind::TrackBar: return StoredProperty::Position;
        case ControlKind::ComboBox: return StoredProperty::Tag;
        case ControlKind::SpinEdit: return StoredProperty::Value;
        case ControlKind::HotKey: return StoredProperty::HotKey;
        default: return StoredProperty::None;
    }
}

std::string_view PropertyName(StoredProperty property) {
    switch (property) {
        case StoredProperty::Checked: return "Checked";
        case StoredProperty::Text: return "Text";
        case StoredProperty::Position: return "Position";
        case StoredProperty::Tag: return "Tag";
        case StoredProperty::Value: return "Value";
        case StoredProperty::HotKey: return "HotKey";
        case StoredProperty::None: break;
    }
    return {};
}

std::span<const ControlDecl* const> StoredControls() {
    static const auto order = BuildStoredOrder();
    return order;
}

}  // namespace tarnwell
