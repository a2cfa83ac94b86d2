// The database words read behind the window: the table it hands over is the
// table a start-up builds (the rows in the order of the select, then the
// built-in words), however the rows were read; a failure comes back as a
// message; and a loader dropped in the middle stops.

#include "WordDatabaseLoader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "DatabaseFile.h"
#include "ScratchFolder.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "WordDatabase.h"
#include "WordList.h"

namespace {

namespace fs = std::filesystem;

class WordDatabaseLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(scratch_.Path() / "dat");
        appDir_ = scratch_.Path().string() + "/";
    }
    void TearDown() override { WordTable.Clear(); }

    // A database of `rows` words; rowids with gaps, and rows deleted, so
    // that halves by rowid are not halves by count.
    void MakeDatabase(int rows) {
        CreateADODatabase(WordDatabaseConnectionString(appDir_));
        TADOConnection connection;
        TADOQuery query;
        OpenWordDatabase(connection, query, appDir_);
        query.SQL().SetText("create table enword (eng text, chs text)");
        query.ExecSQL();
        std::string eng, chs;
        InsertWords(connection, query, std::size_t(rows),
                    [&](std::size_t i) {
                        eng = "w" + std::to_string(i);
                        chs = "n." + std::to_string(i * 7);
                        return TEngWord{eng, chs};
                    },
                    {});
        query.SQL().SetText("delete from enword where rowid % 3 = 0 and rowid < 1000");
        query.ExecSQL();
        query.SQL().SetText("insert into enword (rowid, eng, chs) values (10000000, 'last', 'n.end')");
        query.ExecSQL();
        connection.Close();
    }

    static TLoadedWords Wait(TWordDatabaseLoader& loader) {
        for (int i = 0; i < 60000; ++i) {
            if (std::optional<TLoadedWords> words = loader.Take()) return std::move(*words);
            usleep(1000);
        }
        ADD_FAILURE() << "the loader never finished";
        return {};
    }

    const ScratchFolder scratch_;
    AnsiString appDir_;
};

TEST_F(WordDatabaseLoaderTest, HandsOverTheTableAStartBuildsHoweverManyRows) {
    const std::size_t builtIn = LoadEmbeddedWordList().size();
    // Few rows are read by one connection; many by two, a half each.
    for (const int rows : {10, 250000}) {
        SCOPED_TRACE(rows);
        fs::remove(scratch_.Path() / "dat" / "WordLib.dat");
        MakeDatabase(rows);
        TWordDatabaseLoader loader(appDir_);
        const TLoadedWords words = Wait(loader);
        EXPECT_EQ(words.Failure, "");

        // What the start-up's one select gives.
        TADOConnection connection;
        TADOQuery query;
        OpenWordDatabase(connection, query, appDir_);
        const std::size_t expectedRows = AppendDbRows(query, builtIn);
        AppendWordLines(LoadEmbeddedWordList(), expectedRows);
        ASSERT_EQ(words.DatabaseRows, expectedRows);
        ASSERT_EQ(words.Table.Length(), WordTable.Length());
        for (std::size_t i = 0; i < WordTable.Length(); ++i) {
            if (words.Table[i].Eng != WordTable[i].Eng || words.Table[i].Chs != WordTable[i].Chs) {
                ADD_FAILURE() << "record " << i << ": " << words.Table[i].Eng << " instead of " << WordTable[i].Eng;
                break;
            }
        }
        EXPECT_EQ(words.Table[expectedRows - 1].Eng, "last");
        WordTable.Clear();
    }
}

TEST_F(WordDatabaseLoaderTest, AMissingDatabaseComesBackAsTheMessageAndADroppedLoaderStops) {
    TWordDatabaseLoader missing(appDir_);
    const TLoadedWords words = Wait(missing);
    EXPECT_EQ(words.Table.Length(), 0u);
    EXPECT_EQ(words.Failure.find("找不到或打不开单词库文件"), 0u) << words.Failure;
    EXPECT_NE(words.Failure.find("这次只能查到程序自带的单词。"), AnsiString::npos);

    MakeDatabase(250000);
    for (int i = 0; i < 3; ++i) TWordDatabaseLoader dropped(appDir_);
}

}  // namespace
