#include "SkinCheck.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include "../../skin/SkinDataTestSupport.h"
#include "CostMeter.h"
#include "HostileBmp.h"
#include "SkinLoadLimits.h"
#include "SkinPack.h"

using namespace skintest;

namespace {

// True when some problem contains every one of the given fragments.
bool HasProblem(const SkinCheckReport& report, std::initializer_list<std::string> fragments) {
    for (const std::string& problem : report.problems) {
        bool all = true;
        for (const std::string& f : fragments) all = all && problem.find(f) != std::string::npos;
        if (all) return true;
    }
    return false;
}

std::string Dump(const SkinCheckReport& report) {
    std::string out;
    for (const auto& p : report.problems) out += "  " + p + "\n";
    return out;
}

std::string Int32(std::int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
    return s;
}

// A zlib stream of about `mebibytes` MiB of zeros, made without deflating
// them all: one MiB deflated with a full flush forgets everything before it,
// so its bytes can follow themselves again and again. The stream never
// ends; a reader stops at its limit or at the end of the data.
std::string ZeroBomb(int mebibytes) {
    z_stream z{};
    deflateInit(&z, 9);
    std::vector<unsigned char> zeros(1 << 20), out(1 << 20);
    std::string first;
    z.next_in = zeros.data();
    z.avail_in = static_cast<uInt>(zeros.size());
    do {
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, Z_FULL_FLUSH);
        first.append(reinterpret_cast<const char*>(out.data()), out.size() - z.avail_out);
    } while (z.avail_out == 0);
    deflateEnd(&z);
    const std::string header = first.substr(0, 2), segment = first.substr(2);
    std::string stream = header;
    for (int i = 0; i < mebibytes; ++i) stream += segment;
    return stream;
}

}  // namespace

TEST(SkinCheck, ACompressedSkinBombCostsNoMoreThanTheProgramAllows) {
    // About 1 MB that inflates to a gigabyte: the check stops where the
    // program stops, at the payload limit.
    ScratchDir dir;
    const std::string block = ZeroBomb(1024);
    ASSERT_LT(block.size(), 2u << 20);
    WriteFile(dir.File("bomb.skn"), Int32(3) + Int32(std::int32_t(block.size())) + block);
    const CostMeter cost;
    const SkinCheckReport report = CheckPackedSkin(dir.File("bomb.skn"));
    EXPECT_TRUE(HasProblem(report, {"inflates to more than " + std::to_string(kMaxSkinPayloadBytes)})) << Dump(report);
    EXPECT_LT(cost.PeakGrowthMiB(), 64.0) << "a skin refused for its size is not held in memory";
    EXPECT_LT(cost.CpuSeconds(), 20.0);
}

TEST(SkinCheck, ASkinDirectoryNamingAPictureBombOftenIsCheckedWithinTheSkinsPixelLimit) {
    // Sixty entries of one 60-byte picture that declares 4096 x 4096 pixels:
    // the program refuses such a skin at its pixel limit, so the check must
    // say so, and without filling a gigabyte of pixels first.
    ScratchDir dir;
    dir.CopyFixture([](std::string& t) {
        std::string list = "activepicturescount=63\r\n0=buttons.bmp\r\n1=controls.bmp\r\n2=glyphs.bmp\r\n";
        for (int i = 3; i < 63; ++i) list += std::to_string(i) + "=bomb.bmp\r\n";
        ReplaceOnce(t, "activepicturescount=3\r\n0=buttons.bmp\r\n1=controls.bmp\r\n2=glyphs.bmp\r\n", list);
    });
    WriteFile(dir.File("bomb.bmp"), hostile::RleBmp(4096, 4096));
    const CostMeter cost;
    const SkinCheckReport report = CheckSkinDirectory(dir.Path());
    EXPECT_TRUE(HasProblem(report, {"picture list entry 62", "is too large"})) << Dump(report);
    EXPECT_LT(cost.CpuSeconds(), 10.0);
}

TEST(SkinCheck, FixtureShowsItsPicturesRecordsAndDeliberateFaults) {
    for (const SkinCheckReport& report : {CheckSkinDirectory(FixtureSkinDir()), CheckSkinDirectory(FixtureSkinIni())}) {
        EXPECT_NE(std::find(report.lines.begin(), report.lines.end(), "picture list entry 1: controls.bmp 21x9"),
                  report.lines.end());
        EXPECT_NE(std::find(report.lines.begin(), report.lines.end(), "control groupbox: panel (TbsDataSkinPanelControl)"),
                  report.lines.end());
        ASSERT_EQ(report.problems.size(), 4u) << Dump(report);
        EXPECT_TRUE(HasProblem(report, {"[SKINOBJECTS] 3", "no colon"}));
        EXPECT_TRUE(HasProblem(report, {"[SKINOBJECTS] 4", "unknown kind \"spaceship\""}));
        EXPECT_TRUE(HasProblem(report, {"[SKINCONTROLS] 3", "\"button\" is listed before"}));
        EXPECT_TRUE(HasProblem(report, {"[SKINCONTROLS] 5", "unknown kind \"gadget\""}));
    }
}

TEST(SkinCheck, FindsEveryProblemOfABrokenSkinInOneRun) {
    ScratchDir dir;
    dir.CopyFixture([](std::string& t) {
        ReplaceOnce(t, "2=glyphs.bmp", "2=missing.bmp");
        ReplaceOnce(t, "thumbrect=2,2,7,7", "thumbrect=2,,7,7\r\ntrackarea=1;2,3,4");
        ReplaceOnce(t, "[edit]\r\npictureindex=1", "[edit]\r\npictureindex=3");
        ReplaceOnce(t, "[groupbox]\r\npictureindex=1\r\nskinrect=0,0,21,9", "[groupbox]\r\npictureindex=1\r\nskinrect=0,0,22,9");
        ReplaceOnce(t, "bgpictureindex=1", "bgpictureindex=-2");
        ReplaceOnce(t, "[SKINCONTROLS]\r\ncount=7", "[SKINCONTROLS]\r\ncount=9");
    });
    const SkinCheckReport report = CheckSkinDirectory(dir.Path());
    EXPECT_TRUE(HasProblem(report, {"picture list entry 2", "missing.bmp"})) << Dump(report);
    EXPECT_TRUE(HasProblem(report, {"[vscrollbar] thumbrect", "not a valid rect"})) << Dump(report);
    EXPECT_TRUE(HasProblem(report, {"[vscrollbar] trackarea", "not a valid rect"})) << Dump(report);
    EXPECT_TRUE(HasProblem(report, {"[edit] pictureindex = 3", "outside the picture list"})) << Dump(report);
    EXPECT_TRUE(HasProblem(report, {"[groupbox] skinrect = 0,0,22,9", "reaches outside controls.bmp"})) << Dump(report);
    EXPECT_TRUE(HasProblem(report, {"[FORMINFO] bgpictureindex = -2"})) << Dump(report);
    EXPECT_TRUE(HasProblem(report, {"[SKINCONTROLS] count = 9", "only 8 entries"})) << Dump(report);

    ScratchDir notASkin;
    notASkin.CopyFixture([](std::string& t) { ReplaceOnce(t, "[FORMINFO]", "[FORM]"); });
    const SkinCheckReport refused = CheckSkinDirectory(notASkin.Path());
    ASSERT_EQ(refused.problems.size(), 1u) << Dump(refused);
    EXPECT_TRUE(HasProblem(refused, {"[FORMINFO] is missing"}));
    EXPECT_FALSE(CheckSkinDirectory(notASkin.File("nothing-here")).Ok());
}

TEST(SkinCheck, PackedSkinChecksLikeItsDirectory) {
    ScratchDir dir;
    const std::string skn = dir.File("fixture.skn");
    const SkinPackResult packed = PackSkin(FixtureSkinDir(), skn);
    ASSERT_TRUE(packed.ok) << packed.message;
    const SkinCheckReport fromDir = CheckSkinDirectory(FixtureSkinDir());
    const SkinCheckReport fromSkn = CheckPackedSkin(skn);
    EXPECT_EQ(fromSkn.problems, fromDir.problems);
    EXPECT_NE(std::find(fromSkn.lines.begin(), fromSkn.lines.end(), "picture list entry 2: glyphs.bmp 9x9"),
              fromSkn.lines.end());
}

TEST(SkinCheck, DamagedPackedFilesAreNamed) {
    ScratchDir dir;
    ASSERT_TRUE(PackSkin(FixtureSkinDir(), dir.File("good.skn")).ok);
    const std::string good = ReadFile(dir.File("good.skn"));
    const std::string block = good.substr(8);
    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x5A;
    const struct {
        const char* what;
        std::string bytes;
        std::string problem;
    } cases[] = {
        {"short", good.substr(0, 6), "fewer than its 8-byte header"},
        {"format 4", Int32(4) + good.substr(4), "container format 4"},
        {"block cut", good.substr(0, good.size() - 3), "does not fit"},
        {"empty block", Int32(3) + Int32(0), "empty"},
        {"corrupt block", flipped, "cannot be inflated"},
    };
    for (const auto& c : cases) {
        WriteFile(dir.File("bad.skn"), c.bytes);
        const SkinCheckReport report = CheckPackedSkin(dir.File("bad.skn"));
        EXPECT_TRUE(HasProblem(report, {c.problem})) << c.what << "\n" << Dump(report);
    }
}

TEST(SkinPack, FailureLeavesAnExistingFileAlone) {
    ScratchDir dir;
    const std::string out = dir.File("kept.skn");
    WriteFile(out, "previous contents");
    ScratchDir broken;
    broken.CopyFixture([](std::string& t) { ReplaceOnce(t, "0=buttons.bmp", "0=gone.bmp"); });
    const SkinPackResult result = PackSkin(broken.Path(), out);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find("gone.bmp"), std::string::npos) << result.message;
    EXPECT_EQ(ReadFile(out), "previous contents");
    EXPECT_FALSE(std::filesystem::exists(out + ".part"));

    ScratchDir notASkin;
    notASkin.CopyFixture([](std::string& t) { ReplaceOnce(t, "[VERSION]", "[V]"); });
    const SkinPackResult refused = PackSkin(notASkin.Path(), out);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find("[VERSION]"), std::string::npos) << refused.message;
}
