#include "CompressedSkin.h"

#include <gtest/gtest.h>

#include <cstring>

#include "BmpCodec.h"
#include "SkinDataTestSupport.h"
#include "TbsCompressedStoredSkin.h"
#include "ZlibStreams.h"

using namespace skintest;

namespace {

std::string Int32(std::int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
    return s;
}

std::int32_t Int32At(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(std::uint8_t(s.at(at + i))) << (8 * i);
    return std::int32_t(v);
}

std::string Inflated(const TbsCompressedStoredSkin& skin) {
    TMemoryStream raw;
    skin.DecompressTo(raw);
    return Bytes(raw);
}

std::string Deflated(const std::string& payload) {
    TMemoryStream in, out;
    in.WriteBuffer(payload.data(), std::int64_t(payload.size()));
    CompressStream(in, out);
    return Bytes(out);
}

// Length of the BMP image at `at`, as the payload reader consumes it.
std::size_t BmpLengthAt(const std::string& s, std::size_t at) {
    std::size_t consumed = 0;
    ReadBmp(std::span(reinterpret_cast<const std::uint8_t*>(s.data()) + at, s.size() - at), &consumed);
    return consumed;
}

void ExpectSamePixels(const TBitmap& a, const TBitmap& b, const std::string& what) {
    ASSERT_EQ(a.Width(), b.Width()) << what;
    ASSERT_EQ(a.Height(), b.Height()) << what;
    for (int y = 0; y < a.Height(); ++y)
        ASSERT_EQ(std::memcmp(a.ScanLine(y), b.ScanLine(y), std::size_t(a.Width()) * 4), 0) << what << " row " << y;
}

void ParsePayload(const std::string& payload, TbsSkinPayload& out) {
    ReadSkinPayload(std::span<const char>(payload.data(), payload.size()), out);
}

}  // namespace

TEST(CompressedSkin, PacksTheFixtureInThePayloadLayout) {
    TbsCompressedStoredSkin skin(nullptr);
    skin.CompressIniSkin(FixtureSkinIni());
    ASSERT_FALSE(skin.IsEmptySkin());
    // A level-9 zlib stream.
    EXPECT_EQ(std::uint8_t(skin.CompressedData()[0]), 0x78);
    EXPECT_EQ(std::uint8_t(skin.CompressedData()[1]), 0xDA);

    const std::string p = Inflated(skin);
    std::size_t at = 0;
    EXPECT_EQ(Int32At(p, at), 3);
    at += 4;
    EXPECT_EQ(p.at(at++), 0) << "frame picture present";
    at += BmpLengthAt(p, at);
    EXPECT_EQ(p.at(at++), 1) << "empty inactivepicture: flag 1 and no image";
    EXPECT_EQ(p.at(at++), 0) << "mask present";
    at += BmpLengthAt(p, at);
    EXPECT_EQ(Int32At(p, at), 3);
    at += 4;
    for (int i = 0; i < 3; ++i) at += BmpLengthAt(p, at);
    // The description follows, its lines as in the file, each ending in CR LF.
    EXPECT_EQ(p.substr(at), ReadFile(FixtureSkinIni()));
}

TEST(CompressedSkin, PackedPicturesKeepTheirPixels) {
    TbsCompressedStoredSkin skin(nullptr);
    skin.CompressIniSkin(FixtureSkinIni());
    TbsSkinPayload payload;
    ParsePayload(Inflated(skin), payload);

    TBitmap expected;
    expected.LoadFromFile(FixtureSkinDir() + "frame.bmp");
    ExpectSamePixels(payload.Picture, expected, "frame");
    EXPECT_TRUE(payload.InactivePicture.Empty());
    expected.LoadFromFile(FixtureSkinDir() + "mask.bmp");
    ExpectSamePixels(payload.Mask, expected, "mask");
    const char* names[] = {"buttons.bmp", "controls.bmp", "glyphs.bmp"};
    ASSERT_EQ(payload.ActivePictures.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        expected.LoadFromFile(FixtureSkinDir() + names[i]);
        ExpectSamePixels(*payload.ActivePictures[i], expected, names[i]);
    }
}

TEST(CompressedSkin, ReaderConsumesPalettedImagesExactly) {
    // The fixture's own files, 1-, 4- and 8-bit with colour tables, back to back.
    const std::string mask = ReadFile(FixtureSkinDir() + "mask.bmp");
    const std::string controls = ReadFile(FixtureSkinDir() + "controls.bmp");
    const std::string glyphs = ReadFile(FixtureSkinDir() + "glyphs.bmp");
    const std::string payload = Int32(3) + "\x01" + "\x01" + std::string(1, '\0') + mask + Int32(2) + controls +
                                glyphs + "[VERSION]\r\nskinname=x\r\n";
    TbsSkinPayload out;
    ParsePayload(payload, out);
    EXPECT_EQ(out.Mask.Width(), 40);
    ASSERT_EQ(out.ActivePictures.size(), 2u);
    EXPECT_EQ(out.ActivePictures[0]->Width(), 21);
    EXPECT_EQ(out.ActivePictures[1]->Width(), 9);
    ASSERT_EQ(out.Description.Count(), 2);
    EXPECT_EQ(out.Description.Strings(1), "skinname=x");
}

TEST(CompressedSkin, Format2SkipsTwoExtraPictureEntries) {
    const std::string frame = ReadFile(FixtureSkinDir() + "frame.bmp");
    const std::string buttons = ReadFile(FixtureSkinDir() + "buttons.bmp");
    const std::string glyphs = ReadFile(FixtureSkinDir() + "glyphs.bmp");
    const std::string zero(1, '\0');
    const std::string tail = Int32(1) + buttons + "[VERSION]\r\n";
    const std::string v3 = Int32(3) + zero + frame + "\x01" + "\x01" + tail;
    const std::string v2 = Int32(2) + zero + frame + "\x01" + "\x01" + zero + glyphs + "\x01" + tail;

    TbsSkinPayload a, b;
    ParsePayload(v3, a);
    ParsePayload(v2, b);
    EXPECT_EQ(b.Format, 2);
    ExpectSamePixels(a.Picture, b.Picture, "frame");
    ASSERT_EQ(b.ActivePictures.size(), 1u);
    ExpectSamePixels(*a.ActivePictures[0], *b.ActivePictures[0], "picture list");
    EXPECT_EQ(a.Description.Text(), b.Description.Text());
}

TEST(CompressedSkin, BadPayloadsRaise) {
    const std::string frame = ReadFile(FixtureSkinDir() + "frame.bmp");
    const std::string zero(1, '\0');
    const struct {
        const char* what;
        std::string payload;
    } cases[] = {
        {"empty", ""},
        {"format cut short", "\x03\x00"},
        {"format 4", Int32(4) + "\x01\x01\x01" + Int32(0)},
        {"no picture count", Int32(3) + "\x01\x01\x01"},
        {"count beyond the images", Int32(3) + "\x01\x01\x01" + Int32(2) + frame},
        {"picture cut short", Int32(3) + zero + frame.substr(0, frame.size() - 10)},
        {"not a picture", Int32(3) + zero + "this is not a bitmap at all, just text"},
    };
    for (const auto& c : cases) {
        TbsSkinPayload out;
        EXPECT_THROW(ParsePayload(c.payload, out), Exception) << c.what;
    }
    TbsSkinPayload out;
    try {
        ParsePayload(Int32(4), out);
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("format 4"), std::string::npos) << e.Message();
    }
}

TEST(CompressedSkin, EmptyPictureListWritesCountZeroThenTheDescription) {
    ScratchDir dir;
    const std::string ini = dir.CopyFixture([](std::string& text) {
        ReplaceOnce(text, "activepicturescount=3", "activepicturescount=0");
        ReplaceOnce(text, "picture=frame.bmp", "picture=");
        ReplaceOnce(text, "mask=mask.bmp", "mask=");
    });
    TbsCompressedStoredSkin skin(nullptr);
    skin.CompressIniSkin(ini);
    const std::string p = Inflated(skin);
    EXPECT_EQ(p.substr(0, 4), Int32(3));
    EXPECT_EQ(p.substr(4, 3), "\x01\x01\x01");
    EXPECT_EQ(p.substr(7, 4), Int32(0));
    EXPECT_EQ(p.substr(11), ReadFile(ini));
}

TEST(CompressedSkin, FailedPackingKeepsTheSkinItHad) {
    TbsCompressedStoredSkin skin(nullptr);
    skin.CompressIniSkin(FixtureSkinIni());
    const std::string before(skin.CompressedData().begin(), skin.CompressedData().end());

    ScratchDir dir;
    const std::string noControls = dir.CopyFixture([](std::string& text) { ReplaceOnce(text, "[SKINCONTROLS]", "[CONTROLS]"); });
    skin.CompressIniSkin(noControls);
    EXPECT_EQ(std::string(skin.CompressedData().begin(), skin.CompressedData().end()), before);

    ScratchDir other;
    const std::string missingPicture = other.CopyFixture([](std::string&) {});
    std::filesystem::remove(other.File("glyphs.bmp"));
    EXPECT_THROW(skin.CompressIniSkin(missingPicture), EFOpenError);
    EXPECT_EQ(std::string(skin.CompressedData().begin(), skin.CompressedData().end()), before);
}

TEST(CompressedSkin, ContainerRoundTripsThroughWritePackedAndReadPacked) {
    TbsCompressedStoredSkin skin(nullptr);
    skin.CompressIniSkin(FixtureSkinIni());
    TMemoryStream container;
    skin.WritePacked(container);
    const std::string bytes = Bytes(container);
    EXPECT_EQ(Int32At(bytes, 0), 3);
    EXPECT_EQ(Int32At(bytes, 4), std::int32_t(skin.CompressedData().size()));

    TbsCompressedStoredSkin copy(nullptr);
    copy.ReadPacked(container);  // reads from position 0 wherever the stream stands
    EXPECT_EQ(std::string(copy.CompressedData().begin(), copy.CompressedData().end()),
              std::string(skin.CompressedData().begin(), skin.CompressedData().end()));
}

TEST(CompressedSkin, ContainerEdgeCases) {
    const std::string block = Deflated(Int32(3) + "\x01\x01\x01" + Int32(0) + "[VERSION]\r\n");
    const std::int32_t n = std::int32_t(block.size());
    const struct {
        const char* what;
        std::string file;
        bool raises;
        std::string expectedBlock;
    } cases[] = {
        {"empty file", "", false, ""},
        {"header cut at 4", Int32(3), false, ""},
        {"header cut at 7", Int32(3) + "\x05\x00\x00", false, ""},
        {"format 4", Int32(4) + Int32(n) + block, false, ""},
        {"format 1", Int32(1) + Int32(n) + block, false, block},
        {"negative format", Int32(-7) + Int32(n) + block, false, block},
        {"length 0", Int32(3) + Int32(0) + block, false, ""},
        {"trailing bytes", Int32(3) + Int32(n) + block + "TRAILER", false, block},
        {"block cut short", Int32(3) + Int32(n) + block.substr(0, block.size() - 1), true, ""},
        {"negative length", Int32(3) + Int32(-5) + block, true, ""},
        {"huge length", Int32(3) + Int32(0x7FFFFFFF) + block, true, ""},
    };
    ScratchDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.File("case.skn");
        WriteFile(path, c.file);
        TbsCompressedStoredSkin skin(nullptr);
        skin.CompressIniSkin(FixtureSkinIni());  // something to lose
        if (c.raises) {
            EXPECT_THROW(skin.LoadPackedFile(path), EReadError) << c.what;
        } else {
            EXPECT_NO_THROW(skin.LoadPackedFile(path)) << c.what;
        }
        EXPECT_EQ(std::string(skin.CompressedData().begin(), skin.CompressedData().end()), c.expectedBlock) << c.what;
    }
    TbsCompressedStoredSkin skin(nullptr);
    EXPECT_THROW(skin.LoadPackedFile(dir.File("missing.skn")), EFOpenError);
}

TEST(CompressedSkin, DesignTimeFileNamesPackAndKeepTheNamePart) {
    TbsCompressedStoredSkin skin(nullptr);
    skin.SetFileName(FixtureSkinIni());  // at run time only stored
    EXPECT_TRUE(skin.IsEmptySkin());
    EXPECT_EQ(skin.FileName(), FixtureSkinIni());

    skin.SetDesigning(true);
    skin.SetFileName(FixtureSkinIni());
    EXPECT_FALSE(skin.IsEmptySkin());
    EXPECT_EQ(skin.FileName(), "skin.ini");

    ScratchDir dir;
    TFileStream out(dir.File("one.skn"), fmCreate);
    skin.WritePacked(out);
    TbsCompressedStoredSkin other(nullptr);
    other.SetDesigning(true);
    other.SetCompressedFileName(dir.File("one.skn"));
    EXPECT_EQ(other.CompressedFileName(), "one.skn");
    EXPECT_EQ(other.CompressedData().size(), skin.CompressedData().size());
}
