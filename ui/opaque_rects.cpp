#include "ui/opaque_rects.h"

#include <cstdlib>

namespace tarnwell {

namespace {

struct Run {
    int left, right;
    bool operator==(const Run&) const = default;
};

bool IsKeyColour(const unsigned char* pixel, const unsigned char* key) {
    for (int channel = 0; channel < 3; ++channel)
        if (std::abs(pixel[channel] - key[channel]) > kKeyTolerance) return false;
    return true;
}

std::vector<Run> OpaqueRuns(const unsigned char* row, int width, const unsigned char* key) {
    std::vector<Run> runs;
    int x = 0;
    while (x < width) {
        while (x < width && IsKeyColour(row + 3 * x, key)) ++x;
        const int left = x;
        while (x < width && !IsKeyColour(row + 3 * x, key)) ++x;
        if (x > left) runs.push_back({left, x});
    }
    return runs;
}

}  // namespace

std::vector<PixelRect> OpaqueRects(const unsigned char* pixels, int width, int height, size_t stride) {
    std::vector<PixelRect> rects;
    if (!pixels || width <= 0 || height <= 0) return rects;
    const unsigned char* key = pixels;
    std::vector<Run> above;
    size_t aboveFirst = 0;  // the rectangles the row above added
    for (int y = 0; y < height; ++y) {
        std::vector<Run> runs = OpaqueRuns(pixels + stride * static_cast<size_t>(y), width, key);
        if (y > 0 && runs == above) {
            for (size_t i = aboveFirst; i < rects.size(); ++i) rects[i].bottom = y + 1;
            continue;
        }
        aboveFirst = rects.size();
        for (const Run& run : runs) rects.push_back({run.left, y, run.right, y + 1});
        above = std::move(runs);
    }
    return rects;
}

}  // namespace tarnwell
