// Skins that would cost gigabytes: pictures declaring huge sizes, a skin
// whose pictures together are too large, a compressed skin that inflates
// without end. Each is refused with the skin-load error naming the file,
// within bounded time and memory, and leaves an empty skin behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CostMeter.h"
#include "HostileBmp.h"
#include "ScratchFolder.h"
#include "SkinDataTestSupport.h"
#include "SkinFormsTestSupport.h"
#include "SkinLoadLimits.h"
#include "TbsSkinData.h"
#include "ZlibStreams.h"

using namespace skintest;

namespace {

std::string Le32(std::uint32_t v) {
    std::string s;
    hostile::PutLe(s, v, 4);
    return s;
}

// A .skn container around `payload` deflated at the fastest level; the
// payload is produced in pieces by `fill`, so a large one never sits in
// memory here.
std::string PackedSkin(const std::function<void(TStream&)>& fill) {
    TMemoryStream block;
    {
        TCompressionStream compressor(TCompressionLevel::Fastest, block);
        fill(compressor);
        compressor.Finish();
    }
    return Le32(3) + Le32(std::uint32_t(block.Size())) + Bytes(block);
}

void Write(TStream& out, const std::string& bytes) { out.WriteBuffer(bytes.data(), std::int64_t(bytes.size())); }

class SkinLoadLimitsTest : public SkinFormsTest {
public:  // the cases below reach the fixture through a reference
    SkinLoadLimitsTest() {
        data = CreateComponent<TbsSkinData>(Application);
        Application->OnException = [this](TObject*, const Exception& e) { reported.push_back(e.Message()); };
    }
    // Copies the fixture skin into the scratch folder and returns its description.
    std::string CopyFixture() {
        for (const auto& entry : std::filesystem::directory_iterator(FixtureSkinDir()))
            std::filesystem::copy_file(entry.path(), dir / entry.path().filename().string(),
                                       std::filesystem::copy_options::overwrite_existing);
        return (dir / "skin.ini").string();
    }

    ScratchFolder dir;
    TbsSkinData* data = nullptr;
    std::vector<AnsiString> reported;
};

TEST_F(SkinLoadLimitsTest, HostileSkinsAreRefusedWithAnErrorNamingTheFile) {
    const struct Case {
        const char* what;
        // Makes the skin in the folder; returns the file to load.
        std::function<std::string(SkinLoadLimitsTest&)> make;
        // The file the error must name, and a part of its text.
        std::function<std::string(SkinLoadLimitsTest&)> named;
        const char* says;
        double maxMiB;
    } cases[] = {
        {"one picture past the limit of one picture",
         [](SkinLoadLimitsTest& t) {
             const std::string ini = t.CopyFixture();
             WriteFile((t.dir / "frame.bmp").string(), hostile::RleBmp(8192, 8192));
             return ini;
         },
         [](SkinLoadLimitsTest& t) { return (t.dir / "frame.bmp").string(); }, "too large (8192 x 8192", 32},
        {"pictures past the limit of a whole skin",
         [](SkinLoadLimitsTest& t) {
             const std::string ini = t.CopyFixture();
             for (const char* name : {"buttons.bmp", "controls.bmp", "glyphs.bmp"})
                 WriteFile((t.dir / name).string(), hostile::RleBmp(4096, 4096));
             return ini;
         },
         [](SkinLoadLimitsTest& t) { return (t.dir / "skin.ini").string(); }, "is too large: its pictures hold", 400},
        {"a compressed skin that inflates past its limit",
         [](SkinLoadLimitsTest& t) {
             const std::string skn = (t.dir / "bomb.skn").string();
             WriteFile(skn, PackedSkin([](TStream& out) {
                           Write(out, Le32(3));
                           const std::string zeros(1 << 20, '\0');
                           for (std::int64_t i = 0; i <= kMaxSkinPayloadBytes >> 20; ++i) Write(out, zeros);
                       }));
             return skn;
         },
         [](SkinLoadLimitsTest& t) { return (t.dir / "bomb.skn").string(); }, "is too large: the data inflates", 400},
        {"a small compressed skin whose pictures pass the limit of a whole skin",
         [](SkinLoadLimitsTest& t) {
             const std::string skn = (t.dir / "pictures.skn").string();
             WriteFile(skn, PackedSkin([](TStream& out) {
                           Write(out, Le32(3));
                           for (int i = 0; i < 3; ++i) Write(out, std::string(1, '\0') + hostile::RleBmp(4096, 4096));
                           Write(out, Le32(0));
                       }));
             EXPECT_LT(std::filesystem::file_size(skn), 1000u);
             return skn;
         },
         [](SkinLoadLimitsTest& t) { return (t.dir / "pictures.skn").string(); }, "is too large: its pictures hold", 400},
    };
    for (const Case& c : cases) {
        data->LoadIniSkin(FixtureSkinIni());
        ASSERT_FALSE(data->IsEmpty());
        reported.clear();
        const std::string file = c.make(*this);
        const CostMeter cost;
        if (file.ends_with(".skn")) data->LoadPackedSkinFile(file);
        else data->LoadIniSkin(file);

        ASSERT_EQ(reported.size(), 1u) << c.what;
        EXPECT_NE(reported[0].find("\"" + c.named(*this) + "\""), std::string::npos) << c.what << ": " << reported[0];
        EXPECT_NE(reported[0].find(c.says), std::string::npos) << c.what << ": " << reported[0];
        EXPECT_TRUE(data->IsEmpty()) << c.what;
        EXPECT_FALSE(data->IsChanging()) << c.what;
        EXPECT_LT(cost.CpuSeconds(), 20.0) << c.what;
        EXPECT_LT(cost.PeakGrowthMiB(), c.maxMiB) << c.what;
    }
}

TEST_F(SkinLoadLimitsTest, AContainerLongerThanAnySkinIsRefusedBeforeItIsRead) {
    data->LoadIniSkin(FixtureSkinIni());
    const std::string skn = (dir / "long.skn").string();
    const std::uint32_t length = std::uint32_t(kMaxSkinBlockBytes + 1);
    WriteFile(skn, Le32(3) + Le32(length));
    std::filesystem::resize_file(skn, 8 + std::uintmax_t(length));  // sparse: nothing is written

    const CostMeter cost;
    try {
        data->LoadPackedSkinFile(skn);
        ADD_FAILURE() << "accepted";
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("\"" + skn + "\" is too large"), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(data->IsEmpty()) << "the current skin stays";
    EXPECT_LT(cost.CpuSeconds(), 1.0);
    EXPECT_LT(cost.PeakGrowthMiB(), 16.0);
}

}  // namespace
