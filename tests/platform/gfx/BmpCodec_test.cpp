// The BMP reader against the variants ImageMagick writes from one reference
// picture, against hand-made run-length files, and against damaged files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "BmpCodec.h"
#include "Exceptions.h"
#include "GfxTestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kW = 13, kH = 6;  // odd width: every bit depth needs row padding

std::uint32_t Px(int r, int g, int b) { return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b); }

// The reference picture: columns 0-3 black and white only, columns 0-8
// sixteen colours in all, columns 9-12 eight more. Crops of it serve the
// 1-bit and 4-bit variants.
std::vector<std::uint32_t> ReferencePicture() {
    std::vector<std::uint32_t> colours;
    for (int r : {0, 128, 255})
        for (int g : {0, 128, 255})
            for (int b : {0, 128, 255}) {
                const std::uint32_t c = Px(r, g, b);
                if (c != Px(0, 0, 0) && c != Px(255, 255, 255)) colours.push_back(c);
            }
    std::vector<std::uint32_t> px(kW * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            std::uint32_t c;
            if (x < 4) c = ((x * 3 + y) % 4 < 2) ? Px(0, 0, 0) : Px(255, 255, 255);
            else if (x < 9) c = colours[std::size_t((x - 4) + y * 5) % 14];
            else c = colours[14 + std::size_t((x - 9) + y) % 8];
            px[std::size_t(y * kW + x)] = c;
        }
    return px;
}

std::vector<std::uint32_t> Crop(const std::vector<std::uint32_t>& px, int width) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < width; ++x) out.push_back(px[std::size_t(y * kW + x)]);
    return out;
}

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}
std::uint32_t Get32(const Bytes& b, std::size_t at) {
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) | (std::uint32_t(b[at + 2]) << 16) |
           (std::uint32_t(b[at + 3]) << 24);
}

int MaxChannelDifference(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return worst;
}

class BmpFromImageMagick : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!gfxtest::HaveImageMagick()) return;
        // One folder for the suite: ctest runs each test in its own process,
        // so each process makes and removes its own.
        scratch_ = new ScratchFolder("BmpFromImageMagick");
        dir_ = new std::filesystem::path(scratch_->Path());
        const std::vector<std::uint32_t> px = ReferencePicture();
        std::ofstream ppm(*dir_ / "ref.ppm", std::ios::binary);
        ppm << "P6\n" << kW << ' ' << kH << "\n255\n";
        for (std::uint32_t p : px) ppm.put(char(p >> 16)).put(char(p >> 8)).put(char(p));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
        delete scratch_;
        scratch_ = nullptr;
    }
    void SetUp() override {
        // scripts/install-deps installs ImageMagick: without it the check
        // cannot run, which is a failure, not a pass.
        if (!dir_) FAIL() << "ImageMagick (convert) is not installed";
    }

    static ScratchFolder* scratch_;
    static std::filesystem::path* dir_;
};
ScratchFolder* BmpFromImageMagick::scratch_ = nullptr;
std::filesystem::path* BmpFromImageMagick::dir_ = nullptr;

struct Variant {
    const char* name;
    std::string options;  // convert options, ending in the output prefix
    int width;            // 13, or a crop of the reference
    int bitsPerPixel;
    std::uint32_t headerSize;
    std::uint32_t compression;
    int tolerance;  // 16-bit pixels lose the low bits of each channel
};

const Variant kVariants[] = {
    {"24-bit", "-type TrueColor BMP3:", kW, 24, 40, 0, 0},
    {"8-bit", "-type Palette -compress None BMP3:", kW, 8, 40, 0, 0},
    {"RLE8", "-type Palette -compress RLE BMP3:", kW, 8, 40, 1, 0},
    {"4-bit", "-crop 9x6+0+0 +repage -type Palette BMP3:", 9, 4, 40, 0, 0},
    {"1-bit", "-crop 4x6+0+0 +repage -type Bilevel BMP3:", 4, 1, 40, 0, 0},
    {"core 8-bit", "-type Palette BMP2:", kW, 8, 12, 0, 0},
    {"core 24-bit", "-type TrueColor BMP2:", kW, 24, 12, 0, 0},
    {"V5 24-bit", "-type TrueColor -define bmp:format=bmp4 BMP:", kW, 24, 124, 0, 0},
    {"V5 RLE8", "-type Palette -define bmp:format=bmp4 BMP:", kW, 8, 124, 1, 0},
    {"V5 32-bit bit fields", "-type TrueColorAlpha BMP:", kW, 32, 124, 3, 0},
    {"32-bit", "-type TrueColorAlpha -define bmp3:alpha=true BMP3:", kW, 32, 40, 0, 0},
    {"V5 16-bit 565", "-type TrueColor -define bmp:subtype=RGB565 BMP:", kW, 16, 124, 3, 8},
};

TEST_F(BmpFromImageMagick, EveryVariantDecodesToTheReferencePicture) {
    const std::vector<std::uint32_t> reference = ReferencePicture();
    int index = 0;
    for (const Variant& v : kVariants) {
        SCOPED_TRACE(v.name);
        const std::string prefix = v.options.substr(v.options.rfind(' ') + 1);
        const std::string options = v.options.substr(0, v.options.rfind(' '));
        const std::string file = "v" + std::to_string(index++) + ".bmp";
        const std::filesystem::path out = *dir_ / file;
        const std::string cmd = "convert '" + (*dir_ / "ref.ppm").string() + "' " + options + " '" + prefix + out.string() + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        const Bytes bytes = ReadFile(out);
        // The file really is the variant meant: header, depth and compression.
        ASSERT_GT(bytes.size(), 34u);
        EXPECT_EQ(Get32(bytes, 14), v.headerSize);
        if (v.headerSize > 12) {
            EXPECT_EQ(bytes[28], v.bitsPerPixel);
            EXPECT_EQ(Get32(bytes, 30), v.compression);
        }

        std::size_t consumed = 0;
        const BmpImage image = ReadBmp(bytes, &consumed);
        EXPECT_EQ(consumed, bytes.size());
        ASSERT_EQ(image.Width, v.width);
        ASSERT_EQ(image.Height, kH);
        const std::vector<std::uint32_t> expected = v.width == kW ? reference : Crop(reference, v.width);
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_LE(MaxChannelDifference(image.Pixels[i], expected[i]), v.tolerance)
                << "pixel " << i % std::size_t(v.width) << "," << i / std::size_t(v.width);
    }
}

TEST_F(BmpFromImageMagick, DerivedVariantsDecodeTheSame) {
    // Variants ImageMagick does not write, made from ones it does.
    const std::vector<std::uint32_t> reference = ReferencePicture();
    const auto convert = [&](const std::string& options, const std::string& out) {
        const std::string cmd = "convert '" + (*dir_ / "ref.ppm").string() + "' " + options + (*dir_ / out).string();
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        return ReadFile(*dir_ / out);
    };

    // Top-down: negative height, rows stored first to last.
    Bytes topDown = convert("-type TrueColor BMP3:", "td.bmp");
    const std::size_t rowBytes = (kW * 3 + 3) & ~3u, data = Get32(topDown, 10);
    Bytes flipped = topDown;
    for (int r = 0; r < kH; ++r)
        std::copy_n(topDown.begin() + std::ptrdiff_t(data + std::size_t(r) * rowBytes), rowBytes,
                    flipped.begin() + std::ptrdiff_t(data + std::size_t(kH - 1 - r) * rowBytes));
    Put32(flipped, 22, std::uint32_t(-kH));
    EXPECT_EQ(ReadBmp(flipped).Pixels, reference);

    // V4: a V5 file whose header claims 108 bytes; the pixel offset still holds.
    Bytes v4 = convert("-type TrueColor -define bmp:format=bmp4 BMP:", "v4.bmp");
    Put32(v4, 14, 108);
    EXPECT_EQ(ReadBmp(v4).Pixels, reference);

    // A 40-byte header followed by the masks (ImageMagick's own such files
    // leave the masks out, see below): cut the V5 header of a 5-6-5 file.
    const Bytes v5 = convert("-type TrueColor -define bmp:subtype=RGB565 BMP:", "565.bmp");
    Bytes info(v5.begin(), v5.begin() + 54);
    Put32(info, 14, 40);
    info.insert(info.end(), v5.begin() + 54, v5.begin() + 66);  // red, green, blue masks
    info.insert(info.end(), v5.begin() + std::ptrdiff_t(Get32(v5, 10)), v5.end());
    Put32(info, 10, 66);
    const BmpImage fromInfo = ReadBmp(info);
    for (std::size_t i = 0; i < reference.size(); ++i) ASSERT_LE(MaxChannelDifference(fromInfo.Pixels[i], reference[i]), 8);

    // ImageMagick 6 marks these 16-bit files as bit fields but writes no
    // masks; the masks would be the first pixels. Refused, with the reason.
    const Bytes noMasks = convert("-type TrueColor -define bmp:subtype=RGB555 BMP3:", "nomasks.bmp");
    ASSERT_EQ(Get32(noMasks, 30), 3u);
    ASSERT_EQ(Get32(noMasks, 10), 54u);
    try {
        ReadBmp(noMasks);
        ADD_FAILURE() << "accepted a bit-field file without masks";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message().find("masks overlap"), std::string::npos) << e.Message();
    }

    // 16 bits without bit fields are 5-5-5.
    Bytes plain16 = convert("-type TrueColor -define bmp:subtype=RGB555 BMP3:", "p16.bmp");
    Put32(plain16, 30, 0);
    const BmpImage image = ReadBmp(plain16);
    for (std::size_t i = 0; i < reference.size(); ++i) ASSERT_LE(MaxChannelDifference(image.Pixels[i], reference[i]), 8);
}

// A hand-made 8-bit or 4-bit run-length file of `width` x `height` with a
// palette where index i is grey level i * 16.
Bytes RleFile(int width, int height, int bits, const Bytes& data) {
    const std::uint32_t colours = 1u << bits;
    Bytes b(54 + 4 * colours, 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 10, std::uint32_t(54 + 4 * colours));
    Put32(b, 14, 40);
    Put32(b, 18, std::uint32_t(width));
    Put32(b, 22, std::uint32_t(height));
    b[26] = 1;
    b[28] = std::uint8_t(bits);
    Put32(b, 30, bits == 8 ? 1 : 2);
    Put32(b, 34, std::uint32_t(data.size()));
    for (std::uint32_t i = 0; i < colours; ++i) b[54 + 4 * i] = b[55 + 4 * i] = b[56 + 4 * i] = std::uint8_t(i * 16);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// Palette indices of a decoded grey picture, as text rows top to bottom.
std::string Indices(const BmpImage& image) {
    std::string out;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const std::uint32_t p = image.Pixels[std::size_t(y * image.Width + x)];
            out += "0123456789ABCDEF"[(p & 0xFF) / 16];
        }
        out += '\n';
    }
    return out;
}

TEST(BmpRunLength, Rle4RunsLiteralsMovesAndRowEnds) {
    const Bytes data = {
        0x05, 0x12,              // bottom row: 1 2 1 2 1
        0x00, 0x00,              // end of row
        0x00, 0x03, 0x34, 0x50,  // literal 3 4 5, padded to 16 bits
        0x00, 0x02, 0x01, 0x01,  // move right 1, up 1 (skipped pixels stay black)
        0x02, 0x77,              // 7 7
        0x00, 0x01,              // end of picture
    };
    const BmpImage image = ReadBmp(RleFile(6, 3, 4, data));
    EXPECT_EQ(Indices(image), "000077\n345000\n121210\n");
}

TEST(BmpRunLength, Rle8LiteralsAndRunsPastTheEdgeAreCut) {
    const Bytes data = {
        0x09, 0x05,                    // a run longer than the row: cut at the edge
        0x00, 0x00,
        0x00, 0x03, 0x01, 0x02, 0x03, 0x00,  // odd literal, padded
        0x00, 0x02, 0xFF, 0xFF,        // a move far outside the picture
        0x04, 0x09,                    // lands nowhere
        0x00, 0x01,
    };
    const BmpImage image = ReadBmp(RleFile(4, 2, 8, data));
    EXPECT_EQ(Indices(image), "1230\n5555\n");
}

Bytes Valid24() {
    std::vector<std::uint32_t> px(5 * 3, 0xFF112233u);
    return WriteBmp24(5, 3, px.data(), 5);
}

TEST(BmpWriter, Writes24BitBottomUpThatReadsBack) {
    const std::vector<std::uint32_t> px = ReferencePicture();
    const Bytes bytes = WriteBmp24(kW, kH, px.data(), kW);
    EXPECT_EQ(bytes.size(), 54u + std::size_t(kH) * ((kW * 3 + 3) & ~3));
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(Get32(bytes, 22), std::uint32_t(kH));  // positive height: bottom-up
    EXPECT_EQ(ReadBmp(bytes).Pixels, px);
}

TEST(BmpDamaged, EveryTruncationFailsCleanly) {
    const Bytes rle = RleFile(6, 3, 4, {0x05, 0x12, 0x00, 0x00, 0x00, 0x03, 0x34, 0x50, 0x00, 0x01});
    for (const Bytes& whole : {Valid24(), rle}) {
        for (std::size_t n = 0; n < whole.size(); ++n) {
            const Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(n));
            EXPECT_THROW(ReadBmp(cut), EInvalidGraphic) << "length " << n;
        }
        EXPECT_NO_THROW(ReadBmp(whole));
    }
}

TEST(BmpDamaged, InconsistentHeadersFailWithAReason) {
    struct Case {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
        int width;  // bytes written: 1, 2 or 4
        const char* reason;
    };
    const Case cases[] = {
        {"magic", 0, 'X', 1, "BM"},
        {"header size", 14, 20, 4, "header size"},
        {"zero width", 18, 0, 4, "not positive"},
        {"negative width", 18, std::uint32_t(-5), 4, "not positive"},
        {"zero height", 22, 0, 4, "not positive"},
        {"lowest height", 22, 0x80000000u, 4, "too large"},
        {"huge picture", 18, 0x7FFFFFFF, 4, "too large"},
        {"bits per pixel", 28, 7, 2, "bits per pixel"},
        {"JPEG contents", 30, 4, 4, "JPEG"},
        {"unknown compression", 30, 9, 4, "compression"},
        {"RLE8 at 24 bits", 30, 1, 4, "RLE8"},
        {"bit fields at 24 bits", 30, 3, 4, "bit fields"},
        {"pixel offset past the end", 10, 100000, 4, "past the end"},
        {"pixel offset into the header", 10, 20, 4, "into the header"},
    };
    for (const Case& k : cases) {
        Bytes b = Valid24();
        if (k.width == 4) Put32(b, k.offset, k.value);
        else if (k.width == 2) b[k.offset] = std::uint8_t(k.value), b[k.offset + 1] = std::uint8_t(k.value >> 8);
        else b[k.offset] = std::uint8_t(k.value);
        try {
            ReadBmp(b);
            ADD_FAILURE() << k.what << ": accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find("Bitmap image is not valid"), std::string::npos) << k.what;
            EXPECT_NE(e.Message().find(k.reason), std::string::npos) << k.what << ": " << e.Message();
        }
    }

    // A true-colour file whose colour table claims more entries than the file
    // holds, with no pixel offset: the implied offset lies past the end.
    Bytes longTable = Valid24();
    Put32(longTable, 10, 0);
    Put32(longTable, 46, 100000);
    EXPECT_THROW(ReadBmp(longTable), EInvalidGraphic);

    // Masks must be one run of bits each.
    Bytes fields = Valid24();
    fields[28] = 32;
    Put32(fields, 30, 3);
    fields.insert(fields.begin() + 54, {0x00, 0x0F, 0x0F, 0x00, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0});
    Put32(fields, 10, 66);
    EXPECT_THROW(ReadBmp(fields), EInvalidGraphic);
    // A top-down picture cannot be run-length coded.
    Bytes topDownRle = RleFile(2, 2, 8, {0x00, 0x01});
    Put32(topDownRle, 22, std::uint32_t(-2));
    EXPECT_THROW(ReadBmp(topDownRle), EInvalidGraphic);
}

TEST(BmpDamaged, RandomlyCorruptedFilesNeverReadOutsideTheBuffer) {
    // Under AddressSanitizer any read past the bytes aborts the test; each
    // damaged file must either decode or raise EInvalidGraphic.
    const Bytes originals[] = {
        Valid24(),
        RleFile(7, 5, 4, {0x07, 0x12, 0x00, 0x00, 0x00, 0x05, 0x12, 0x34, 0x50, 0x00, 0x00, 0x02, 0x03, 0x01, 0x03, 0x44, 0x00, 0x01}),
        RleFile(7, 5, 8, {0x07, 0x02, 0x00, 0x00, 0x00, 0x05, 1, 2, 3, 4, 5, 0, 0x00, 0x02, 0x03, 0x01, 0x03, 0x04, 0x00, 0x01}),
    };
    std::mt19937 random(12345);
    for (const Bytes& original : originals) {
        for (int round = 0; round < 1000; ++round) {
            Bytes b = original;
            const int flips = 1 + int(random() % 4);
            for (int i = 0; i < flips; ++i) b[random() % b.size()] = std::uint8_t(random());
            if (random() % 4 == 0) b.resize(random() % b.size());
            try {
                const BmpImage image = ReadBmp(b);
                EXPECT_EQ(image.Pixels.size(), std::size_t(image.Width) * std::size_t(image.Height));
            } catch (const EInvalidGraphic&) {
            }
        }
    }
}

}  // namespace
