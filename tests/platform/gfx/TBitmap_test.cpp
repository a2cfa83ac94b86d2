// Bitmaps: size changes, pixel layout, copies and BMP files and streams.

#include <gtest/gtest.h>

#include "Exceptions.h"
#include "GfxTestSupport.h"
#include "Streams.h"
#include "TBitmap.h"

namespace {

TEST(TBitmap, ResizeKeepsWhatFitsAndFillsWhite) {
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    b.SetSize(3, 2);
    b.Fill(clRed);
    b.SetSize(4, 3);
    EXPECT_EQ(gfxtest::Picture(b, clRed, b.BoundsRect()), "###.\n###.\n....\n");
    EXPECT_EQ(b.Pixels(3, 2), clWhite);
    b.SetWidth(1);
    EXPECT_EQ(gfxtest::Picture(b, clRed, b.BoundsRect()), "#\n#\n.\n");
    b.SetHeight(0);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Image(), nullptr);
    EXPECT_EQ(b.Pixels(0, 0), clNone);
    b.SetPixels(0, 0, clRed);  // outside: ignored
    EXPECT_THROW(b.ScanLine(0), EInvalidOperation);
}

TEST(TBitmap, ScanLineHoldsX8R8G8B8Rows) {
    TBitmap b(3, 2);
    b.SetPixels(2, 1, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(b.ScanLine(1)[2] & 0xFFFFFF, 0x112233u);
    b.ScanLine(0)[0] = 0x00445566;
    EXPECT_EQ(b.Pixels(0, 0), RGB(0x44, 0x55, 0x66));
    EXPECT_EQ(b.ScanLine(1) - b.ScanLine(0), std::ptrdiff_t(b.StridePixels()));
    ASSERT_NE(b.Image(), nullptr);
    EXPECT_EQ(pixman_image_get_data(b.Image()), b.ScanLine(0));
}

TEST(TBitmap, AssignCopiesPixelsAndTransparency) {
    TBitmap a(2, 2);
    a.Fill(clBlue);
    a.SetTransparent(true);
    a.SetTransparentColor(clBlue);
    TBitmap b;
    b.Assign(a);
    a.Fill(clRed);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Pixels(1, 1), clBlue);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.TransparentMode(), tmFixed);
    EXPECT_EQ(b.TransparentColor(), clBlue);
    TBitmap autoMode(2, 2);
    autoMode.SetPixels(0, 1, clLime);
    EXPECT_EQ(autoMode.TransparentColor(), clLime);  // bottom-left
}

TEST(TBitmap, FilesAndStreamsRoundTripAndFailuresKeepTheBitmap) {
    const ScratchFolder scratch;
    const std::filesystem::path& dir = scratch.Path();
    TBitmap a(5, 3);
    a.SetPixels(4, 2, clRed);
    a.SetPixels(0, 0, RGB(1, 2, 3));
    a.SaveToFile((dir / "a.bmp").string());
    TBitmap b;
    b.LoadFromFile((dir / "a.bmp").string());
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Pixels(4, 2), clRed);
    EXPECT_EQ(b.Pixels(0, 0), RGB(1, 2, 3));

    EXPECT_THROW(b.LoadFromFile((dir / "missing.bmp").string()), EFOpenError);
    // Names that lead to a directory or an endless device fail at once.
    EXPECT_THROW(b.LoadFromFile(dir.string()), EFOpenError);
    EXPECT_THROW(b.LoadFromFile("/dev/zero"), EFOpenError);
    const std::vector<std::uint8_t> junk = {'B', 'M', 1, 2, 3};
    EXPECT_THROW(b.LoadFromBytes(junk), EInvalidGraphic);
    EXPECT_EQ(b.Width(), 5);  // unchanged after the failures
    EXPECT_EQ(b.Pixels(4, 2), clRed);

    // Two pictures back to back in one stream, as compressed skins hold them.
    TMemoryStream stream;
    a.SaveToStream(stream);
    TBitmap other(2, 7);
    other.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap first, second;
    first.LoadFromStream(stream);
    second.LoadFromStream(stream);
    EXPECT_EQ(first.Width(), 5);
    EXPECT_EQ(second.Height(), 7);
    EXPECT_EQ(stream.Position(), stream.Size());
}

}  // namespace
