#pragma once
// The declarations of controls.def as data, and the names the rest of the
// program uses for them. Portable: no Windows headers.
#include <span>
#include <string_view>

#include "base/control_decl.h"

namespace tarnwell {

namespace ctl {
enum : int {
#define CONTROL(name, id, ...) name = id,
#include "app/controls.def"
#undef CONTROL
};
}  // namespace ctl

// The range of a spin edit or slider; {0, 0} for controls without one.
ValueRange RangeOf(const ControlDecl& decl);

inline constexpr int kStoredPropertyCount = 80;

std::span<const ControlDecl> AllControls();
const ControlDecl* FindControl(std::string_view name);
const ControlDecl* FindControl(int id);
StoredProperty StoredPropertyOf(const ControlDecl& decl);
std::string_view PropertyName(StoredProperty property);
// The declarations of the stored properties, in settings-list order.
std::span<const ControlDecl* const> StoredControls();

}  // namespace tarnwell
