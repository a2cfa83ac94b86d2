#include "AdRefresh.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "CostMeter.h"
#include "Exceptions.h"
#include "FileUtils.h"
#include "LocalHttpServer.h"
#include "ScratchFolder.h"
#include "../platform/services/flash/SwfTestMovies.h"

namespace {

namespace fs = std::filesystem;

// The clocks come with <thread> through the server: the full <chrono> does not
// compile to code page 936.

// Transfers in these tests finish in milliseconds; stalls are cut at 400 ms.
constexpr TAdTransferLimits kTestLimits{1000, 400};

// A program directory with an ad directory, removed after the test. It lies
// in the test's own scratch folder, so emptying the ad directory touches no
// other test process's files.
class AdRefreshTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(appDir_ / "dat" / "ad"); }

    AnsiString AppDir() const { return appDir_.string() + "/"; }
    AnsiString AdDir() const { return AdDirectory(AppDir()); }

    // Writes an ad file modified `daysOld` days ago.
    void WriteAd(const std::string& name, double daysOld, const std::string& contents = "old ad") {
        std::ofstream(AdDir() + name, std::ios::binary) << contents;
        ASSERT_TRUE(FileSetDate(AdDir() + name, Now() - daysOld));
    }

    // The names in the ad directory with their contents.
    std::map<std::string, std::string> AdDirContents() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(AdDir())) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            files[entry.path().filename().string()] = text.str();
        }
        return files;
    }

    static std::unique_ptr<TStringList> List(std::initializer_list<const char*> names) {
        auto list = std::make_unique<TStringList>();
        for (const char* name : names) list->Add(name);
        return list;
    }

    // The test's own folder, removed with everything in it after the test.
    const ScratchFolder scratch_;
    const fs::path& appDir_ = scratch_.Path();
};

std::string Announcements(int count, const std::string& base) {
    std::string page = "<html><script>\r\n";
    for (int i = 0; i < count; ++i) {
        page += "writelinks(\"" + base + "/ad" + std::to_string(i) + ".swf\",\"Ad number " + std::to_string(i) + "\");\r\n";
    }
    return page + "</script></html>";
}

// A small movie of one frame that the banner plays, told apart from the
// others by the path it was downloaded from (kept in a tag the player skips).
std::string AdBody(const std::string& path) {
    MovieWriter movie(300, 50);
    movie.Background(0x33, 0x66, 0x99);
    movie.Tag(77, Bytes(path.begin(), path.end()));
    movie.ShowFrame();
    const Bytes file = movie.Fws();
    return std::string(file.begin(), file.end());
}

// ---- staleness ----

TEST_F(AdRefreshTest, StalenessFollowsTheAgeAndPresenceOfEveryListedFile) {
    const double second = 1.0 / 86400;
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, double>> files;  // written, with their ages in days
        std::vector<const char*> listed;
        bool stale;
    };
    const Case cases[] = {
        {"all young", {{"a.swf", 1}, {"b.swf", 29}}, {"a.swf", "b.swf"}, false},
        {"just under thirty days", {{"a.swf", 30 - 60 * second}}, {"a.swf"}, false},
        {"just over thirty days", {{"a.swf", 1}, {"b.swf", 30 + 60 * second}}, {"a.swf", "b.swf"}, true},
        {"a listed file is gone", {{"a.swf", 1}}, {"a.swf", "gone.swf"}, true},
        {"a file found as Ad.SWF", {{"Ad.SWF", 1}}, {"ad.swf"}, false},
        {"nothing listed", {}, {}, true},
    };
    for (const auto& c : cases) {
        fs::remove_all(AdDir());
        fs::create_directories(AdDir());
        for (const auto& [name, age] : c.files) WriteAd(name, age);
        TStringList listed;
        for (const char* name : c.listed) listed.Add(name);
        EXPECT_EQ(AdsAreStale(AdDir(), &listed, Now()), c.stale) << c.what;
    }
    EXPECT_TRUE(AdsAreStale(AdDir(), nullptr, Now())) << "an absent list";
}

// ---- the page and its links ----

TEST(ParseAdLinks, TakesTheFirstArgumentOfUpToTenAnnouncements) {
    struct Case {
        const char* what;
        std::string page;
        std::vector<std::string> links;
    };
    const Case cases[] = {
        {"two announcements in markup",
         "<p>writelinks(\"http://a/1.swf\",\"one\")</p> text writelinks(\"http://a/2.swf\", \"two\");",
         {"http://a/1.swf", "http://a/2.swf"}},
        {"no tag", "<html>no ads today</html>", {}},
        {"the tag without a quote is no tag", "writelinks(http://a/1.swf,\"x\")", {}},
        {"an empty link keeps its place", "writelinks(\"\",\"x\") writelinks(\"http://a/2.swf\",\"y\")",
         {"", "http://a/2.swf"}},
        {"a quote inside the text ends it early", "writelinks(\"http://a/1.swf\",\"say \"hi\" writelinks(\"http://a/2.swf\",\"y\")",
         {"http://a/1.swf", "http://a/2.swf"}},
        {"text without its closing quote still gives its link", "writelinks(\"http://a/1.swf\",\"never closed",
         {"http://a/1.swf"}},
        {"a link without its closing quote announces nothing", "writelinks(\"http://a/1.swf", {}},
        {"line breaks and Chinese text around", "广告\r\nwritelinks(\"http://a/1.swf\",\"英语小词典\")\r\n",
         {"http://a/1.swf"}},
    };
    for (const auto& c : cases) {
        TStringList lines, links;
        lines.Add(c.page);
        ParseAdLinks(lines, links);
        std::vector<std::string> got;
        for (int i = 0; i < links.Count(); ++i) got.push_back(links[i]);
        EXPECT_EQ(got, c.links) << c.what;
    }

    TStringList lines, links;
    lines.Add(Announcements(12, "http://h"));
    ParseAdLinks(lines, links);
    ASSERT_EQ(links.Count(), 10);
    EXPECT_EQ(links[0], "http://h/ad0.swf");
    EXPECT_EQ(links[9], "http://h/ad9.swf");
}

TEST(ParseAdLinks, AnItemWithoutTheTagEndsTheScanForLaterItems) {
    TStringList lines, links;
    lines.Add("writelinks(\"http://a/1.swf\",\"x\")");
    lines.Add("writelinks(\"http://a/2.swf\",\"y\")");
    ParseAdLinks(lines, links);
    ASSERT_EQ(links.Count(), 1);
    EXPECT_EQ(links[0], "http://a/1.swf");
}

TEST(FetchPageText, GivesTheBodyUpToItsFirstNulAndNothingOnFailure) {
    const std::string page = std::string("line one\r\nline two\0after the nul", 31);
    LocalHttpServer server([&](const std::string& path) {
        if (path == "/page") return HttpReply::Ok(page);
        if (path == "/slow") return HttpReply::Broken(HttpReply::Kind::StallMidBody);
        return HttpReply::Error(404, "not found page");
    });
    EXPECT_EQ(FetchPageText(server.Url("/page"), kTestLimits), "line one\r\nline two");
    EXPECT_EQ(FetchPageText(server.Url("/missing"), kTestLimits), "");
    EXPECT_EQ(FetchPageText(server.Url("/slow"), kTestLimits), "");
    EXPECT_EQ(FetchPageText(LocalHttpServer::UnreachableUrl(), kTestLimits), "");
}

// ---- the refresh against a real server ----

TEST_F(AdRefreshTest, FreshAdsFetchNothing) {
    WriteAd("1.swf", 2);
    WriteAd("2.swf", 29);
    LocalHttpServer server([&](const std::string& path) { return HttpReply::Ok(AdBody(path)); });
    auto adFiles = List({"1.swf", "2.swf"});
    TStringList pageLines, links;
    RefreshAds(AppDir(), adFiles.get(), &pageLines, &links, server.Url("/index.htm"), kTestLimits);
    EXPECT_TRUE(server.RequestedPaths().empty());
    EXPECT_EQ(pageLines.Count(), 0);
    EXPECT_EQ(AdDirContents().size(), 2u);
}

TEST_F(AdRefreshTest, AMissingFileRenewsTheAdsAndTwelveAnnouncementsGiveTen) {
    WriteAd("1.swf", 2);
    WriteAd("2.swf", 2);
    WriteAd("3.swf", 2);
    fs::remove(AdDir() + "2.swf");
    LocalHttpServer* self = nullptr;
    LocalHttpServer server([&](const std::string& path) {
        if (path == "/index.htm") return HttpReply::Ok(Announcements(12, self->Url("")));
        return HttpReply::Ok(AdBody(path));
    });
    self = &server;
    auto adFiles = List({"1.swf", "2.swf", "3.swf"});
    TStringList pageLines, links;
    RefreshAds(AppDir(), adFiles.get(), &pageLines, &links, server.Url("/index.htm"), kTestLimits);

    ASSERT_EQ(pageLines.Count(), 1);
    EXPECT_EQ(pageLines[0], Announcements(12, server.Url("")));
    EXPECT_EQ(links.Count(), 10);
    std::map<std::string, std::string> expected;
    for (int n = 0; n < 10; ++n) expected[std::to_string(n) + ".swf"] = AdBody("/ad" + std::to_string(n) + ".swf");
    EXPECT_EQ(AdDirContents(), expected);  // old files gone, no temp.dat
    const auto paths = server.RequestedPaths();
    EXPECT_EQ(paths.size(), 11u);
    EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()).count("/ad10.swf"), 0u);
}

TEST_F(AdRefreshTest, APageWithoutLinksOrUnreachableDeletesNothing) {
    LocalHttpServer server([&](const std::string& path) {
        if (path == "/empty.htm") return HttpReply::Ok("<html>no announcements</html>");
        if (path == "/error.htm") return HttpReply::Error(500, "writelinks(\"/ad0.swf\",\"x\")");
        return HttpReply::Ok(AdBody(path));
    });
    for (const std::string& url :
         {server.Url("/empty.htm"), server.Url("/error.htm"), LocalHttpServer::UnreachableUrl("/index.htm")}) {
        WriteAd("1.swf", 40);
        WriteAd("2.swf", 40);
        auto adFiles = List({"1.swf", "2.swf"});
        TStringList pageLines, links;
        RefreshAds(AppDir(), adFiles.get(), &pageLines, &links, url, kTestLimits);
        EXPECT_EQ(links.Count(), 0) << url;
        EXPECT_EQ(AdDirContents(), (std::map<std::string, std::string>{{"1.swf", "old ad"}, {"2.swf", "old ad"}})) << url;
    }
    for (const auto& path : server.RequestedPaths()) EXPECT_NE(path.rfind("/ad", 0), 0u) << "downloaded " << path;
}

TEST_F(AdRefreshTest, FailedTransfersLeaveNoFileAndLaterLinksKeepTheirNumbers) {
    // Link 1 is empty, 2 is dropped in the middle, 3 stalls, 4 is an error
    // page; 0 and 5 arrive whole.
    LocalHttpServer* self = nullptr;
    LocalHttpServer server([&](const std::string& path) {
        using Kind = HttpReply::Kind;
        if (path == "/index.htm") return HttpReply::Ok(Announcements(6, self->Url("")));
        if (path == "/ad1.swf") return HttpReply::Ok("");
        if (path == "/ad2.swf") return HttpReply::Broken(Kind::DropMidBody, std::string(50000, 'm'));
        if (path == "/ad3.swf") return HttpReply::Broken(Kind::StallMidBody, std::string(50000, 's'));
        if (path == "/ad4.swf") return HttpReply::Error(404, "no such ad");
        return HttpReply::Ok(AdBody(path));
    });
    self = &server;
    const auto start = std::chrono::steady_clock::now();
    RefreshAds(AppDir(), nullptr, nullptr, nullptr, server.Url("/index.htm"), kTestLimits);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << "a stalled server held the close";
    EXPECT_EQ(AdDirContents(), (std::map<std::string, std::string>{{"0.swf", AdBody("/ad0.swf")},
                                                                    {"5.swf", AdBody("/ad5.swf")}}));
}

TEST_F(AdRefreshTest, OnlyAMovieThePlayerOpensReplacesAnOldAd) {
    // An index whose links answer with pages and other files that are no
    // movie: each old ad stays, only the real movie takes its place.
    const std::string noFrames = [] {
        const Bytes file = MovieWriter(300, 50).Fws();
        return std::string(file.begin(), file.end());
    }();
    const std::map<std::string, std::string> answers = {
        {"/ad0.swf", "<html><head><title>404</title></head><body>The ad was not found.</body></html>\r\n"},
        {"/ad1.swf", AdBody("/ad1.swf")},
        {"/ad2.swf", "FWS"},
        {"/ad3.swf", noFrames},
        {"/ad4.swf", std::string(5000, '\0')},
        {"/ad5.swf", "CWS\x08\xff\xff\x00\x00not a zlib stream at all"},
    };
    for (int n = 0; n < 6; ++n) WriteAd(std::to_string(n) + ".swf", 40);
    LocalHttpServer* self = nullptr;
    LocalHttpServer server([&](const std::string& path) {
        if (path == "/index.htm") return HttpReply::Ok(Announcements(6, self->Url("")));
        return HttpReply::Ok(answers.at(path));
    });
    self = &server;
    auto adFiles = List({"0.swf", "1.swf", "2.swf", "3.swf", "4.swf", "5.swf"});
    RefreshAds(AppDir(), adFiles.get(), nullptr, nullptr, server.Url("/index.htm"), kTestLimits);
    EXPECT_EQ(AdDirContents(), (std::map<std::string, std::string>{{"0.swf", "old ad"},
                                                                    {"1.swf", AdBody("/ad1.swf")},
                                                                    {"2.swf", "old ad"},
                                                                    {"3.swf", "old ad"},
                                                                    {"4.swf", "old ad"},
                                                                    {"5.swf", "old ad"}}));
    EXPECT_EQ(server.RequestedPaths().size(), 7u);
}

TEST_F(AdRefreshTest, ADownloadReplacesAnOldFileOfItsNumber) {
    WriteAd("0.swf", 40, "the old zero");
    LocalHttpServer server([&](const std::string& path) { return HttpReply::Ok(AdBody(path)); });
    DownloadAd(AdDir(), server.Url("/new.swf"), 0, kTestLimits);
    EXPECT_EQ(AdDirContents(), (std::map<std::string, std::string>{{"0.swf", AdBody("/new.swf")}}));
}

TEST_F(AdRefreshTest, ALeftOverTransferFileThatCannotBeWrittenIsReplaced) {
    LocalHttpServer server([&](const std::string& path) { return HttpReply::Ok(AdBody(path)); });
    const AnsiString transfer = AdDir() + "temp.dat";
    fs::create_directories(appDir_ / "elsewhere");

    // A read-only left-over, and a link to a directory that no file can be
    // written through.
    std::ofstream(transfer) << "left by a crash";
    ::chmod(transfer.c_str(), 0444);
    DownloadAd(AdDir(), server.Url("/a.swf"), 0, kTestLimits);

    fs::create_directory_symlink(appDir_ / "elsewhere", transfer);
    DownloadAd(AdDir(), server.Url("/b.swf"), 1, kTestLimits);

    EXPECT_EQ(AdDirContents(), (std::map<std::string, std::string>{{"0.swf", AdBody("/a.swf")},
                                                                    {"1.swf", AdBody("/b.swf")}}));
    EXPECT_TRUE(fs::is_empty(appDir_ / "elsewhere"));
}

TEST_F(AdRefreshTest, ATransferFileThatCannotBeCreatedIsReported) {
    LocalHttpServer server([&](const std::string& path) { return HttpReply::Ok(AdBody(path)); });
    fs::remove_all(AdDir());
    EXPECT_THROW(DownloadAd(AdDir(), server.Url("/a.swf"), 0, kTestLimits), EFCreateError);
}

// ---- a hostile server at close ----

TEST_F(AdRefreshTest, AHostileServerNeitherHoldsTheCloseNorCostsTheOldAds) {
    using Kind = HttpReply::Kind;
    // Scaled down from the shipped limits so that the cases run quickly.
    TAdTransferLimits limits;
    limits.ConnectTimeout = 1000;
    limits.TotalTimeout = 600;
    limits.Deadline = 1500;
    limits.MaxPageBytes = 64 << 10;
    limits.MaxAdBytes = 256 << 10;
    const std::uint64_t huge = std::uint64_t(2) << 30;

    const std::map<std::string, std::string> oldAds = {{"0.swf", "old ad"}, {"1.swf", "old ad"}, {"x.swf", "old ad"}};
    const struct Case {
        const char* what;
        std::function<HttpReply(const std::string& path, const std::string& base)> reply;
        std::map<std::string, std::string> after;  // empty: the old ads as they were
    } cases[] = {
        {"the page stalls", [](const std::string&, const std::string&) { return HttpReply::Broken(Kind::StallAtStart); }, {}},
        {"the page is cut", [](const std::string&, const std::string& base) {
             return HttpReply::Broken(Kind::DropMidBody, Announcements(3, base)); }, {}},
        {"the page announces 2 GB", [huge](const std::string&, const std::string&) { return HttpReply::Flood(huge, true); }, {}},
        {"the page runs on unannounced", [huge](const std::string&, const std::string&) { return HttpReply::Flood(huge, false); }, {}},
        {"every ad stalls", [](const std::string& path, const std::string& base) {
             return path == "/index.htm" ? HttpReply::Ok(Announcements(10, base)) : HttpReply::Broken(Kind::StallMidBody); }, {}},
        {"every ad is cut", [](const std::string& path, const std::string& base) {
             return path == "/index.htm" ? HttpReply::Ok(Announcements(10, base)) : HttpReply::Broken(Kind::DropMidBody); }, {}},
        {"every ad announces 500 MB", [](const std::string& path, const std::string& base) {
             return path == "/index.htm" ? HttpReply::Ok(Announcements(3, base)) : HttpReply::Flood(500u << 20, true); }, {}},
        {"every ad runs on unannounced", [](const std::string& path, const std::string& base) {
             return path == "/index.htm" ? HttpReply::Ok(Announcements(3, base)) : HttpReply::Flood(500u << 20, false); }, {}},
        {"one ad of three arrives", [](const std::string& path, const std::string& base) {
             if (path == "/index.htm") return HttpReply::Ok(Announcements(3, base));
             return path == "/ad1.swf" ? HttpReply::Ok(AdBody(path)) : HttpReply::Broken(Kind::DropMidBody); },
         {{"0.swf", "old ad"}, {"1.swf", AdBody("/ad1.swf")}, {"x.swf", "old ad"}}},
        {"two ads arrive, neither with an old one's name", [](const std::string& path, const std::string& base) {
             if (path == "/index.htm") return HttpReply::Ok(Announcements(4, base));
             return path == "/ad2.swf" || path == "/ad3.swf" ? HttpReply::Ok(AdBody(path)) : HttpReply::Error(404); },
         {{"2.swf", AdBody("/ad2.swf")}, {"3.swf", AdBody("/ad3.swf")}, {"x.swf", "old ad"}}},
    };
    for (const Case& c : cases) {
        for (const auto& [name, contents] : oldAds) WriteAd(name, 40, contents);
        LocalHttpServer* self = nullptr;
        LocalHttpServer server([&](const std::string& path) { return c.reply(path, self->Url("")); });
        self = &server;
        auto adFiles = List({"0.swf", "1.swf", "x.swf"});

        const CostMeter cost;
        RefreshAds(AppDir(), adFiles.get(), nullptr, nullptr, server.Url("/index.htm"), limits);
        EXPECT_LT(cost.Seconds(), limits.Deadline / 1000.0 + 1.0) << c.what << ": the close was held";
        EXPECT_LT(cost.PeakGrowthMiB(), 32.0) << c.what;
        EXPECT_EQ(AdDirContents(), c.after.empty() ? oldAds : c.after) << c.what;
        for (const auto& entry : fs::directory_iterator(AdDir())) fs::remove(entry.path());
    }
}

TEST_F(AdRefreshTest, TheShippedLimitsEndACloseWithTenStalledAdsWithinSeconds) {
    WriteAd("0.swf", 40);
    LocalHttpServer* self = nullptr;
    LocalHttpServer server([&](const std::string& path) {
        return path == "/index.htm" ? HttpReply::Ok(Announcements(10, self->Url("")))
                                    : HttpReply::Broken(HttpReply::Kind::StallAtStart);
    });
    self = &server;
    auto adFiles = List({"0.swf"});
    const TAdTransferLimits shipped;
    const CostMeter cost;
    RefreshAds(AppDir(), adFiles.get(), nullptr, nullptr, server.Url("/index.htm"), shipped);
    EXPECT_LT(cost.Seconds(), shipped.Deadline / 1000.0 + 1.0);
    EXPECT_GE(cost.Seconds(), shipped.Deadline / 1000.0 - 0.5) << "the deadline, not an error, ended the close";
    EXPECT_EQ(AdDirContents(), (std::map<std::string, std::string>{{"0.swf", "old ad"}}));
    EXPECT_LE(server.RequestedPaths().size(), 3u) << "stalled transfers are not waited for one after another";
}

}  // namespace
