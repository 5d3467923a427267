#include <gtest/gtest.h>

#include "resident/notice.h"
#include "ui/opaque_rects.h"

namespace tarnwell {
namespace {

TEST(Notice, TheTextsAreTheProgramsOwn) {
    EXPECT_EQ(SweepingNotice().title, "Tarnwell: Sweeping History...");
    EXPECT_EQ(SweepingNotice().text,
              "Performing automatic background detection, random overwrite, and removal of your selected history "
              "files...");
    const NoticeText popup = PopupNotice(12);
    EXPECT_EQ(popup.title, "Tarnwell: Popup Killed...");
    EXPECT_EQ(popup.text,
              "Enable/Disable all popups by toggling Scroll Lock. Hold down the CTRL key and click for a new window. 12 "
              "total popups killed.");
    EXPECT_NE(PopupNotice(0).text.find(" 0 total popups killed."), std::string::npos);
}

TEST(Notice, BalloonTextsAreCutAtTheirLimits) {
    EXPECT_EQ(CutToLimit(std::string(63, 't'), kBalloonTitleLimit).size(), 63u);
    EXPECT_EQ(CutToLimit(std::string(64, 't'), kBalloonTitleLimit), std::string(63, 't'));
    EXPECT_EQ(CutToLimit(std::string(1000, 'x'), kBalloonTextLimit).size(), 255u);
    EXPECT_EQ(CutToLimit("", kBalloonTextLimit), "");
    // The popup notice with a large count still fits a balloon once cut.
    EXPECT_LE(CutToLimit(PopupNotice(4294967295ul).text, kBalloonTextLimit).size(), 255u);
}

TEST(Notice, TheWindowSitsFifteenPixelsInFromTheDesktopsBottomRight) {
    const NoticeOrigin origin = NoticePlacement(1024, 768, 324, 94);
    EXPECT_EQ(origin.left, 1024 - 324 - 15);
    EXPECT_EQ(origin.top, 768 - 94 - 15);
    // A desktop wholly left of and above 0,0 (its right and bottom edges
    // negative) still holds the window.
    EXPECT_EQ(NoticePlacement(-100, -50, 324, 94).left, -439);
}

// A picture of `rows`: '.' is the top-left pixel's colour, 'n' a colour
// near it (compression noise), 'f' one just too far from it, anything else
// another colour.
std::vector<unsigned char> Picture(const std::vector<std::string>& rows, size_t stride) {
    std::vector<unsigned char> pixels(stride * rows.size(), 0);
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) {
            unsigned char* p = &pixels[y * stride + 3 * x];
            if (rows[y][x] == '.') {
                p[0] = 255, p[1] = 0, p[2] = 255;
            } else {
                const char c = rows[y][x];
                p[0] = 255, p[1] = 0;
                p[2] = static_cast<unsigned char>(c == 'n' ? 255 - kKeyTolerance : c == 'f' ? 254 - kKeyTolerance : 0);
            }
        }
    return pixels;
}

TEST(OpaqueRects, EveryPixelUnlikeTheTopLeftOneIsCoveredAndNoOther) {
    const std::vector<std::string> rows = {
        "..##..",
        ".####.",
        ".####.",
        "#f.n##",
        "......",
    };
    const size_t stride = 20;  // rows padded beyond their pixels
    const auto pixels = Picture(rows, stride);
    const auto rects = OpaqueRects(pixels.data(), 6, 5, stride);
    // Rows 1 and 2 share their runs: one rectangle for both. Noise near the
    // key colour is transparent; a colour beyond it is not.
    const std::vector<PixelRect> expected = {{2, 0, 4, 1}, {1, 1, 5, 3}, {0, 3, 2, 4}, {4, 3, 6, 4}};
    EXPECT_EQ(rects, expected);
}

TEST(OpaqueRects, APlainPictureIsOneRectangleAndAnEmptyOneNone) {
    const size_t stride = 12;
    const auto all = Picture({".###", ".###", ".###"}, stride);
    EXPECT_EQ(OpaqueRects(all.data(), 4, 3, stride), (std::vector<PixelRect>{{1, 0, 4, 3}}));
    const auto none = Picture({"....", "...."}, stride);
    EXPECT_TRUE(OpaqueRects(none.data(), 4, 2, stride).empty());
    EXPECT_TRUE(OpaqueRects(nullptr, 4, 2, stride).empty());
    EXPECT_TRUE(OpaqueRects(none.data(), 0, 2, stride).empty());
}

}  // namespace
}  // namespace tarnwell
