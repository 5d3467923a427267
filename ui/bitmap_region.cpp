#include "ui/bitmap_region.h"

#include <algorithm>
#include <vector>

#include "ui/opaque_rects.h"

namespace tarnwell {

namespace {

// Windows 95 and 98 refuse a region of many rectangles in one call, so the
// shape is built a slice at a time and the slices joined.
constexpr size_t kRectsPerSlice = 2000;

GdiRegion RegionOfRects(const PixelRect* rects, size_t count) {
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    RECT& bounds = data->rdh.rcBound;
    bounds = RECT{rects[0].left, rects[0].top, rects[0].right, rects[0].bottom};
    auto* out = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < count; ++i) {
        out[i] = RECT{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
        bounds.left = std::min(bounds.left, out[i].left);
        bounds.top = std::min(bounds.top, out[i].top);
        bounds.right = std::max(bounds.right, out[i].right);
        bounds.bottom = std::max(bounds.bottom, out[i].bottom);
    }
    return GdiRegion(::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
}

}  // namespace

GdiRegion RegionFromPicture(HBITMAP picture) {
    DIBSECTION dib{};
    if (!picture || ::GetObjectA(picture, sizeof dib, &dib) != sizeof dib) return GdiRegion{};
    const BITMAP& bits = dib.dsBm;
    // The rows are taken as top-down, which is how the JPEG decoder makes
    // them: the header GetObject hands back does not say so reliably.
    if (!bits.bmBits || bits.bmBitsPixel != 24) return GdiRegion{};
    const std::vector<PixelRect> rects = OpaqueRects(static_cast<const unsigned char*>(bits.bmBits), bits.bmWidth,
                                                     bits.bmHeight, static_cast<size_t>(bits.bmWidthBytes));
    GdiRegion shape(::CreateRectRgn(0, 0, 0, 0));
    if (!shape) return shape;
    for (size_t first = 0; first < rects.size(); first += kRectsPerSlice) {
        GdiRegion slice = RegionOfRects(rects.data() + first, std::min(kRectsPerSlice, rects.size() - first));
        if (!slice || ::CombineRgn(shape.get(), shape.get(), slice.get(), RGN_OR) == ERROR) return GdiRegion{};
    }
    return shape;
}

}  // namespace tarnwell
