#pragma once
// A window shape cut from a picture: every pixel except those of the
// top-left pixel's colour (see ui/opaque_rects.h).
#include "base/handles.h"

namespace tarnwell {

// `picture` is a 24-bit top-down DIB section, as the JPEG decoder makes;
// null for anything else, or when the region cannot be built.
GdiRegion RegionFromPicture(HBITMAP picture);

}  // namespace tarnwell
