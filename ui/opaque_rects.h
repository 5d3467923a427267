#pragma once
// The shape of a picture cut out along one colour: the rectangles covering
// every pixel whose colour differs from the top-left pixel's. A window
// region built from them shows the picture without its background.
// The pictures are JPEGs, whose compression moves a flat background's
// colour by a few steps near the shape's edge: a pixel within
// kKeyTolerance of the top-left one on every channel counts as that colour.
// Portable: no Windows headers.
#include <cstddef>
#include <vector>

namespace tarnwell {

inline constexpr int kKeyTolerance = 24;

struct PixelRect {
    int left, top, right, bottom;  // right and bottom exclusive
    bool operator==(const PixelRect&) const = default;
};

// `pixels`: `height` rows of `width` 3-byte pixels, top row first, each
// row `stride` bytes apart. Rows with the same runs as the row above are
// joined into taller rectangles, so a plain shape needs few of them.
std::vector<PixelRect> OpaqueRects(const unsigned char* pixels, int width, int height, size_t stride);

}  // namespace tarnwell
