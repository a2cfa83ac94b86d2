// Icon handles own their pixels and die exactly once.

#include "Icons.h"

#include <gtest/gtest.h>

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
