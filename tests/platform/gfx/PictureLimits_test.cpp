// Pictures that declare more pixels than any screen or skin needs are
// refused before their pixels are allocated, quickly, with an error that
// names the file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "BmpCodec.h"
#include "CostMeter.h"
#include "HostileBmp.h"
#include "ScratchFolder.h"
#include "TBitmap.h"

namespace {

std::span<const std::uint8_t> AsBytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(PictureLimits, ATinyFileDeclaringAHugePictureIsRefusedCheaply) {
    const std::string bomb = hostile::RleBmp(8192, 8192);
    ASSERT_EQ(bomb.size(), 60u);
    const CostMeter cost;
    try {
        ReadBmp(AsBytes(bomb));
        ADD_FAILURE() << "accepted";
    } catch (const EBmpFormatError& e) {
        EXPECT_NE(e.Message().find("too large (8192 x 8192 pixels"), std::string::npos) << e.Message();
        EXPECT_EQ(e.DeclaredPixels(), 8192u * 8192u);
    }
    EXPECT_LT(cost.CpuSeconds(), 1.0);
    EXPECT_LT(cost.PeakGrowthMiB(), 16.0);
}

TEST(PictureLimits, APictureAtTheLimitStillLoadsAndACallerMayAllowLess) {
    const std::string atLimit = hostile::RleBmp(4096, 4096);
    const CostMeter cost;
    const BmpImage image = ReadBmp(AsBytes(atLimit));
    EXPECT_EQ(image.Width, 4096);
    EXPECT_EQ(image.Pixels.size(), kMaxBmpPixels);
    EXPECT_LT(cost.CpuSeconds(), 10.0);
    EXPECT_LT(cost.PeakGrowthMiB(), 160.0);  // the 64 MiB it holds, with room for the sanitizers

    EXPECT_THROW(ReadBmp(AsBytes(hostile::RleBmp(64, 64)), nullptr, 64 * 63), EBmpFormatError);
    EXPECT_EQ(ReadBmp(AsBytes(hostile::RleBmp(64, 64)), nullptr, 64 * 64).Width, 64);
}

TEST(PictureLimits, LoadingFromAFileNamesTheFileInTheError) {
    ScratchFolder dir;
    struct Case {
        const char* what;
        std::string file;
        std::uintmax_t sparseSize;  // a file that large, made without writing it
        const char* reason;
    } cases[] = {
        {"declared size", "huge.bmp", 0, "too large (8192 x 8192"},
        {"damaged header", "cut.bmp", 0, "ends inside"},
        {"oversized file", "long.bmp", kMaxBmpPixels * 4 + (1 << 20), "the file is too large"},
    };
    WriteFile(dir / "huge.bmp", hostile::RleBmp(8192, 8192));
    WriteFile(dir / "cut.bmp", hostile::RleBmp(8, 8).substr(0, 20));
    WriteFile(dir / "long.bmp", hostile::RleBmp(8, 8));
    std::filesystem::resize_file(dir / "long.bmp", cases[2].sparseSize);

    for (const Case& c : cases) {
        const std::string path = (dir / c.file).string();
        TBitmap bitmap(3, 2);
        const CostMeter cost;
        try {
            bitmap.LoadFromFile(path);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find("\"" + path + "\""), std::string::npos) << c.what << ": " << e.Message();
            EXPECT_NE(e.Message().find(c.reason), std::string::npos) << c.what << ": " << e.Message();
        }
        EXPECT_EQ(bitmap.Width(), 3) << c.what << ": the bitmap stays as it was";
        EXPECT_LT(cost.CpuSeconds(), 1.0) << c.what;
        EXPECT_LT(cost.PeakGrowthMiB(), 16.0) << c.what;
    }
}

}  // namespace
