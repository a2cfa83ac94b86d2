#include "TADOConnection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "DatabaseErrors.h"
#include "DatabaseFile.h"
#include "DbTestFiles.h"
#include "Exceptions.h"
#include "TADOQuery.h"

namespace {

const AnsiString kPassword = "5D3AF09C61B2E87D4C0A";

// A keyed file holding the table t(x) with one row.
void MakeDatabase(const std::string& file, const AnsiString& password) {
    CreateADODatabase(ConnectionStringFor(file, password));
    TADOConnection connection;
    connection.LoginPrompt = false;
    connection.SetConnectionString(ConnectionStringFor(file, password));
    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().Add("create table t (x text)");
    query.ExecSQL();
    query.SQL().SetText("insert into t (x) values ('one')");
    query.ExecSQL();
}

int CountRows(TADOConnection& connection) {
    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().Add("select x from t");
    query.Open();
    return query.RecordCount();
}

}  // namespace

TEST(TADOConnection, OpensAKeyedFileAndStaysConnectedBetweenStatements) {
    DbTestDir dir;
    const std::string file = dir.File("w.dat");
    MakeDatabase(file, kPassword);

    TADOConnection connection;
    connection.LoginPrompt = false;
    connection.SetConnectionString(ConnectionStringFor(file, kPassword));
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(CountRows(connection), 1);  // the first statement opens the connection
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(CountRows(connection), 1);
    connection.SetConnected(false);
    EXPECT_FALSE(connection.Connected());

    // The file on disk is encrypted: neither the table name nor the row shows.
    const std::string bytes = ReadFileBytes(file);
    EXPECT_EQ(bytes.find("one"), std::string::npos);
    EXPECT_EQ(bytes.find("SQLite format"), std::string::npos);
}

TEST(TADOConnection, FailuresGiveAClearTextWithoutThePassword) {
    DbTestDir dir;
    const std::string good = dir.File("good.dat");
    MakeDatabase(good, kPassword);
    const std::string damaged = dir.File("damaged.dat");
    {
        std::ofstream out(damaged, std::ios::binary);
        for (int i = 0; i < 4096; ++i) out.put(static_cast<char>((i * 7919) & 0xFF));
    }

    struct Case { AnsiString connectionString; const char* expected; TDatabaseFault fault = TDatabaseFault::Other; };
    const Case cases[] = {
        {ConnectionStringFor(dir.File("missing.dat"), kPassword), "unable to open database file",
         TDatabaseFault::CannotOpen},
        {ConnectionStringFor(good, "0000000000000000000A"), "file is encrypted or is not a database",
         TDatabaseFault::NotADatabase},
        {ConnectionStringFor(good, ""), "file is encrypted or is not a database", TDatabaseFault::NotADatabase},
        {ConnectionStringFor(damaged, kPassword), "file is encrypted or is not a database",
         TDatabaseFault::NotADatabase},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + good + ";Password=" + kPassword, "Provider cannot be found"},
        {"Provider=SQLCipher;Password=" + kPassword, "no Data Source"},
        {"Provider=SQLCipher;Data Source=\"" + good + ";Password=" + kPassword, "Format of the initialization string"},
    };
    for (const Case& c : cases) {
        TADOConnection connection;
        connection.LoginPrompt = false;
        connection.SetConnectionString(c.connectionString);
        try {
            connection.Open();
            ADD_FAILURE() << "opened: " << c.expected;
        } catch (const EDatabaseError& e) {
            EXPECT_NE(e.Message().find(c.expected), AnsiString::npos) << e.Message();
            EXPECT_EQ(e.Message().find(kPassword), AnsiString::npos) << e.Message();
            const auto* engine = dynamic_cast<const EDatabaseEngineError*>(&e);
            if (c.fault != TDatabaseFault::Other) {
                ASSERT_NE(engine, nullptr) << e.Message();
                EXPECT_EQ(engine->Fault, c.fault) << e.Message();
                EXPECT_EQ(engine->Reason, c.expected);
                EXPECT_NE(engine->FileName, "");
            }
        }
        EXPECT_FALSE(connection.Connected());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.dat")));  // opening never creates a file
}

TEST(TADOConnection, LoginPromptCannotBeHonouredAndSaysSo) {
    DbTestDir dir;
    const std::string file = dir.File("w.dat");
    MakeDatabase(file, kPassword);
    TADOConnection connection;  // LoginPrompt is true by default, as on the platform
    connection.SetConnectionString(ConnectionStringFor(file, kPassword));
    EXPECT_THROW(connection.Open(), EDatabaseError);
    connection.LoginPrompt = false;
    EXPECT_NO_THROW(connection.Open());
}

TEST(TADOConnection, ReadBackLeavesThePasswordOutUnlessPersistSecurityInfoIsTrue) {
    TADOConnection connection;
    connection.SetConnectionString(ConnectionStringFor("/x/w.dat", kPassword));
    EXPECT_EQ(connection.ConnectionString(), "Provider=SQLCipher;Data Source=/x/w.dat;Persist Security Info=False");
    connection.SetConnectionString("Data Source=/x/w.dat;Persist Security Info=True;Password=" + kPassword);
    EXPECT_EQ(connection.ConnectionString(), "Data Source=/x/w.dat;Persist Security Info=True;Password=" + kPassword);
    connection.SetConnectionString("Data Source='/x/w.dat;Password=" + kPassword);  // malformed
    EXPECT_EQ(connection.ConnectionString(), "");
}

TEST(TADOConnection, WithoutKeepConnectionItClosesWhenNoQueryNeedsIt) {
    DbTestDir dir;
    const std::string file = dir.File("w.dat");
    MakeDatabase(file, kPassword);
    TADOConnection connection;
    connection.LoginPrompt = false;
    connection.KeepConnection = false;
    connection.SetConnectionString(ConnectionStringFor(file, kPassword));

    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().Add("select x from t");
    query.Open();
    EXPECT_TRUE(connection.Connected());  // an open query holds it
    query.Close();
    EXPECT_FALSE(connection.Connected());

    query.SQL().SetText("insert into t (x) values ('two')");
    EXPECT_EQ(query.ExecSQL(), 1);
    EXPECT_FALSE(connection.Connected());
    query.SQL().SetText("insert into nowhere (x) values ('two')");
    EXPECT_THROW(query.ExecSQL(), EDatabaseError);
    EXPECT_FALSE(connection.Connected());  // also after a failure
}

TEST(TADOConnection, ClosingClosesItsQueriesAndDestroyingDetachesThem) {
    DbTestDir dir;
    const std::string file = dir.File("w.dat");
    MakeDatabase(file, kPassword);
    TADOQuery query;
    {
        TADOConnection connection;
        connection.LoginPrompt = false;
        connection.SetConnectionString(ConnectionStringFor(file, kPassword));
        query.SetConnection(&connection);
        query.SQL().Add("select x from t");
        query.Open();
        connection.Close();
        EXPECT_FALSE(query.Active());
        query.Open();
    }
    EXPECT_FALSE(query.Active());
    EXPECT_EQ(query.Connection(), nullptr);
    try {
        query.Open();
        ADD_FAILURE() << "opened without a connection";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Missing Connection or ConnectionString");
    }
}

TEST(CreateADODatabase, RefusesToReplaceAnExistingFile) {
    DbTestDir dir;
    const std::string file = dir.File("w.dat");
    MakeDatabase(file, kPassword);
    const std::string before = ReadFileBytes(file);
    EXPECT_THROW(CreateADODatabase(ConnectionStringFor(file, kPassword)), EDatabaseError);
    EXPECT_EQ(ReadFileBytes(file), before);
}

namespace {

TADOConnection& Connect(TADOConnection& connection, const std::string& file, int commandTimeout = 30) {
    connection.LoginPrompt = false;
    connection.CommandTimeout = commandTimeout;
    connection.SetConnectionString(ConnectionStringFor(file, kPassword));
    return connection;
}

void Insert(TADOConnection& connection, const char* value) {
    TADOQuery query;
    query.SetConnection(&connection);
    query.SQL().Add("insert into t (x) values (:x)");
    query.Parameters().ParamByName("x").Value = AnsiString(value);
    query.ExecSQL();
}

}  // namespace

TEST(TADOConnection, ATransactionIsKeptWholeOrNotAtAll) {
    DbTestDir dir;
    const std::string file = dir.File("w.dat");
    MakeDatabase(file, kPassword);
    TADOConnection writer;
    TADOConnection reader;
    Connect(writer, file);
    Connect(reader, file);

    EXPECT_FALSE(writer.InTransaction());
    writer.BeginTrans();
    EXPECT_TRUE(writer.InTransaction());
    EXPECT_THROW(writer.BeginTrans(), EDatabaseError);
    Insert(writer, "two");
    Insert(writer, "three");
    EXPECT_EQ(CountRows(reader), 1);  // nothing shows before the commit
    writer.RollbackTrans();
    EXPECT_FALSE(writer.InTransaction());
    EXPECT_EQ(CountRows(reader), 1);

    writer.BeginTrans();
    Insert(writer, "two");
    writer.CommitTrans();
    EXPECT_EQ(CountRows(reader), 2);

    // Closing in the middle, or a connection that lets go when idle, keeps nothing.
    writer.BeginTrans();
    Insert(writer, "three");
    writer.Close();
    EXPECT_EQ(CountRows(reader), 2);
    writer.KeepConnection = false;
    writer.BeginTrans();
    Insert(writer, "three");
    EXPECT_TRUE(writer.Connected());
    writer.RollbackTrans();
    EXPECT_FALSE(writer.Connected());
    EXPECT_EQ(CountRows(reader), 2);
    EXPECT_THROW(writer.CommitTrans(), EDatabaseError);
}

TEST(TADOConnection, ALockIsWaitedForUpToTheCommandTimeout) {
    DbTestDir dir;
    const std::string file = dir.File("w.dat");
    MakeDatabase(file, kPassword);
    TADOConnection holder;
    Connect(holder, file);
    holder.BeginTrans();

    // Held for longer than the wait: the second writer fails, after waiting.
    TADOConnection other;
    Connect(other, file, 1);
    const auto start = std::chrono::steady_clock::now();
    try {
        other.BeginTrans();
        ADD_FAILURE() << "took a lock that another connection holds";
    } catch (const EDatabaseEngineError& e) {
        EXPECT_EQ(e.Fault, TDatabaseFault::Locked) << e.Message();
        EXPECT_EQ(e.Message(), "database is locked");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    EXPECT_FALSE(other.InTransaction());

    // Released within the wait: the second writer goes on.
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        holder.RollbackTrans();
    });
    EXPECT_NO_THROW(other.BeginTrans());
    release.join();
    Insert(other, "two");
    other.CommitTrans();
    EXPECT_EQ(CountRows(holder), 2);
}
