#pragma once
// Creates the native control for a declaration of the control table.
#include <memory>

#include "base/control_decl.h"
#include "ui/controls.h"

namespace tarnwell {

struct ControlFonts {
    HFONT normal = nullptr;
    HFONT bold = nullptr;
};

// Null for kinds that are not plain child controls (image, page control,
// tab sheets) or when the window cannot be created.
// `range` bounds a spin edit or slider.
std::unique_ptr<TControl> CreateControl(const ControlDecl& decl, ValueRange range, HWND parent,
                                        const ControlFonts& fonts);

}  // namespace tarnwell
