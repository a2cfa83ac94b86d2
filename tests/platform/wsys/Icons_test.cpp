// Icon handles own their pixels and die exactly once.

#include "Icons.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "TBitmap.h"
#include "TCanvas.h"

TEST(Icons, HandleOwnsItsPixelsUntilDestroyed) {
    const HICON icon = CreateIconFromPixels({2, 1, {0xFF112233u, 0x00000000u}});
    ASSERT_NE(icon, nullptr);
    const IconPixels* pixels = IconPixelsOf(icon);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->argb[0], 0xFF112233u);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_EQ(IconPixelsOf(icon), nullptr);
    EXPECT_FALSE(DestroyIcon(icon));
    // A new icon never takes over the old handle.
    const HICON next = CreateIconFromPixels({1, 1, {0xFFFFFFFFu}});
    EXPECT_NE(next, icon);
    DestroyIcon(next);
}

TEST(Icons, PixelsThatDoNotFillTheSizeAreRefused) {
    EXPECT_EQ(CreateIconFromPixels({0, 0, {}}), nullptr);
    EXPECT_EQ(CreateIconFromPixels({2, 2, {1, 2, 3}}), nullptr);
    EXPECT_FALSE(DestroyIcon(nullptr));
}

namespace {
std::uint32_t At(const IconPixels& p, int x, int y) { return p.argb[std::size_t(y) * std::size_t(p.width) + std::size_t(x)]; }
int Alpha(std::uint32_t argb) { return int(argb >> 24); }
int Red(std::uint32_t argb) { return int((argb >> 16) & 0xFF); }
int Green(std::uint32_t argb) { return int((argb >> 8) & 0xFF); }
int Blue(std::uint32_t argb) { return int(argb & 0xFF); }
}  // namespace

TEST(Icons, StandardIconsAreSharedDrawnPicturesWithClearCorners) {
    struct Case {
        int id;
        int alias;
        int probeX, probeY;  // a point on the icon's body, away from its sign
        char dominant;       // 'r', 'b' or 'y' (red and green, little blue)
    };
    const Case cases[] = {{IDI_HAND, IDI_ERROR, 16, 4, 'r'},
                          {IDI_QUESTION, IDI_QUESTION, 6, 20, 'b'},
                          {IDI_EXCLAMATION, IDI_WARNING, 10, 24, 'y'},
                          {IDI_ASTERISK, IDI_INFORMATION, 6, 20, 'b'},
                          {IDI_APPLICATION, IDI_APPLICATION, 16, 7, 'b'}};
    std::vector<HICON> seen;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const HICON icon = LoadIcon(nullptr, c.id);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(LoadIcon(nullptr, c.alias), icon);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), icon), 0);
        seen.push_back(icon);
        const IconPixels& p = *IconPixelsOf(icon);
        ASSERT_EQ(p.width, 32);
        ASSERT_EQ(p.height, 32);
        EXPECT_EQ(Alpha(At(p, 0, 0)), 0);
        EXPECT_EQ(Alpha(At(p, 31, 0)), 0);
        const std::uint32_t body = At(p, c.probeX, c.probeY);
        EXPECT_EQ(Alpha(body), 255);
        if (c.dominant == 'r') {
            EXPECT_GT(Red(body), 2 * std::max(Green(body), Blue(body)));
        } else if (c.dominant == 'b') {
            EXPECT_GT(Blue(body), Red(body) + 60);
        } else {
            EXPECT_GT(std::min(Red(body), Green(body)), Blue(body) + 100);
        }
        // Edges are smooth: some pixels are partly transparent.
        EXPECT_TRUE(std::any_of(p.argb.begin(), p.argb.end(), [](std::uint32_t v) { return Alpha(v) > 0 && Alpha(v) < 255; }));
        // Shared: a program cannot destroy it for everyone else.
        EXPECT_FALSE(DestroyIcon(icon));
        EXPECT_NE(IconPixelsOf(icon), nullptr);
    }
    EXPECT_EQ(LoadIcon(nullptr, 12345), nullptr);
    int module = 0;
    EXPECT_EQ(LoadIcon(&module, IDI_HAND), nullptr);
}

TEST(Icons, ScalingAveragesTheCoveredAreaWithoutDarkeningClearPixels) {
    // Opaque red next to fully clear black: half as opaque, still pure red.
    const IconPixels half = ScaleIconPixels({2, 1, {0xFFFF0000u, 0x00000000u}}, 1, 1);
    ASSERT_EQ(half.argb.size(), 1u);
    EXPECT_EQ(half.argb[0], 0x80FF0000u);
    // Enlarging repeats each pixel over the area it covers.
    const IconPixels big = ScaleIconPixels({2, 1, {0xFF0000FFu, 0xFF00FF00u}}, 4, 2);
    EXPECT_EQ(big.argb, (std::vector<std::uint32_t>{0xFF0000FFu, 0xFF0000FFu, 0xFF00FF00u, 0xFF00FF00u,
                                                    0xFF0000FFu, 0xFF0000FFu, 0xFF00FF00u, 0xFF00FF00u}));
}

TEST(Icons, CopyImageMakesAnOwnedScaledIcon) {
    const HICON shared = LoadIcon(nullptr, IDI_QUESTION);
    const HICON small = CopyImage(shared, IMAGE_ICON, 16, 16, LR_COPYDELETEORG);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(IconPixelsOf(small)->width, 16);
    EXPECT_NE(IconPixelsOf(shared), nullptr) << "a shared original survives LR_COPYDELETEORG";
    const HICON same = CopyImage(small, IMAGE_ICON, 0, 0, 0);
    ASSERT_NE(same, small);
    EXPECT_EQ(IconPixelsOf(same)->argb, IconPixelsOf(small)->argb);
    EXPECT_EQ(CopyImage(small, IMAGE_ICON, 0, 0, LR_COPYRETURNORG), small);
    const HICON standard = CopyImage(small, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_COPYDELETEORG);
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(IconPixelsOf(standard)->width, 32);
    EXPECT_EQ(IconPixelsOf(small), nullptr);
    EXPECT_EQ(CopyImage(standard, IMAGE_BITMAP, 0, 0, 0), nullptr);
    EXPECT_EQ(CopyImage(small, IMAGE_ICON, 0, 0, 0), nullptr);
    DestroyIcon(same);
    DestroyIcon(standard);
}

TEST(Icons, DrawIconExBlendsByOpacityScalesAndKeepsToTheClip) {
    TBitmap bmp(6, 2);
    bmp.Fill(RGB(0, 0, 255));
    TCanvas& c = bmp.Canvas();
    // Opaque white, half-opaque red, clear green.
    const HICON icon = CreateIconFromPixels({3, 1, {0xFFFFFFFFu, 0x80FF0000u, 0x0000FF00u}});
    c.SetClipRect({0, 0, 5, 1});
    ASSERT_TRUE(DrawIconEx(&c, 0, 0, icon, 6, 2, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(bmp.Pixels(0, 0), clWhite);
    EXPECT_EQ(bmp.Pixels(1, 0), clWhite);
    EXPECT_EQ(bmp.Pixels(2, 0), RGB(128, 0, 127));
    EXPECT_EQ(bmp.Pixels(4, 0), RGB(0, 0, 255)) << "clear pixels leave the canvas as it was";
    EXPECT_EQ(bmp.Pixels(5, 0), RGB(0, 0, 255)) << "outside the clip";
    EXPECT_EQ(bmp.Pixels(0, 1), RGB(0, 0, 255)) << "outside the clip";
    c.ResetClip();
    ASSERT_TRUE(DrawIconEx(&c, 3, 1, icon, 0, 0, 0, nullptr, DI_IMAGE));
    EXPECT_EQ(bmp.Pixels(5, 1), RGB(0, 255, 0)) << "DI_IMAGE draws colours opaque";
    EXPECT_FALSE(DrawIconEx(&c, 0, 0, nullptr, 0, 0, 0, nullptr, DI_NORMAL));
    DestroyIcon(icon);
}
