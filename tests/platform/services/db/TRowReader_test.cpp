#include "TRowReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DatabaseErrors.h"
#include "DatabaseFile.h"
#include "DbTestFiles.h"
#include "Exceptions.h"
#include "TADOConnection.h"
#include "TADOQuery.h"

namespace {

class RowReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const AnsiString cs = ConnectionStringFor(dir_.File("r.dat"), "9F3C21AB07D4E5F6A8B1");
        CreateADODatabase(cs);
        connection_.LoginPrompt = false;
        connection_.SetConnectionString(cs);
        query_.SetConnection(&connection_);
        for (const char* sql : {"create table words (eng text, chs text)", "insert into words values ('cat', 'n.x')",
                                "insert into words values (null, 'n.y')", "insert into words values ('dog', null)"}) {
            query_.SQL().SetText(sql);
            query_.ExecSQL();
        }
    }
    DbTestDir dir_;
    TADOConnection connection_;
    TADOQuery query_;
};

TEST_F(RowReaderTest, ReadsTheRowsInOrderOneAtATimeNullAsEmpty) {
    std::vector<std::string> rows;
    {
        TRowReader reader(connection_, "select eng,chs from words");
        ASSERT_EQ(reader.ColumnCount(), 2);
        while (reader.Next()) rows.push_back(std::string(reader.Column(0)) + "|" + std::string(reader.Column(1)));
        EXPECT_FALSE(reader.Next());
        EXPECT_EQ(reader.Column(0), "");
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"cat|n.x", "|n.y", "dog|"}));
}

TEST_F(RowReaderTest, OneSelectOnlyAndEngineErrorsAreRaised) {
    EXPECT_THROW(TRowReader(connection_, "select eng from words; delete from words"), EDatabaseError);
    EXPECT_THROW(TRowReader(connection_, "delete from words"), EDatabaseError);
    EXPECT_THROW(TRowReader(connection_, "select nothing from nowhere"), EDatabaseEngineError);
    // Nothing was run.
    TRowReader count(connection_, "select count(*) from words;");
    ASSERT_TRUE(count.Next());
    EXPECT_EQ(count.Column(0), "3");
}

TEST_F(RowReaderTest, AFinishedOrDroppedReaderHoldsNoLock) {
    // Another connection writes once the reader is done or gone.
    TADOConnection writer;
    writer.LoginPrompt = false;
    writer.SetConnectionString(ConnectionStringFor(dir_.File("r.dat"), "9F3C21AB07D4E5F6A8B1"));
    writer.CommandTimeout = 1;
    TADOQuery insert;
    insert.SetConnection(&writer);
    insert.SQL().SetText("insert into words values ('owl', 'n.z')");
    {
        TRowReader reader(connection_, "select eng from words");
        ASSERT_TRUE(reader.Next());
        // While it stands on a row, the file is being read.
        EXPECT_THROW(insert.ExecSQL(), EDatabaseEngineError);
    }
    EXPECT_EQ(insert.ExecSQL(), 1);
    TRowReader reader(connection_, "select eng from words");
    while (reader.Next()) {
    }
    EXPECT_EQ(insert.ExecSQL(), 1);
}

}  // namespace
