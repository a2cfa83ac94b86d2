#include "THttpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "LocalHttpServer.h"

namespace {

std::string Contents(const TMemoryStream& stream) {
    return std::string(stream.Memory(), static_cast<size_t>(stream.Size()));
}

// Bytes of every value, NUL included, and long enough to arrive in pieces.
std::string BinaryBody(size_t size) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
    return body;
}

THttpClient ClientWithTimeouts(int totalMs = 2000) {
    THttpClient client;
    client.ConnectTimeout = 1000;
    client.TotalTimeout = totalMs;
    return client;
}

TEST(THttpClient, WritesTheWholeBodyIntoMemoryAndFileStreams) {
    const std::string body = BinaryBody(700 * 1024);
    LocalHttpServer server([&](const std::string& path) {
        return path == "/ad.swf" ? HttpReply::Ok(body) : HttpReply::Error(404);
    });

    THttpClient client = ClientWithTimeouts();
    TMemoryStream memory;
    client.Get(server.Url("/ad.swf"), memory);
    EXPECT_EQ(client.ResponseCode(), 200);
    EXPECT_EQ(Contents(memory), body);

    const std::string fileName = std::filesystem::temp_directory_path() / ("mirvo-http-" + std::to_string(::getpid()));
    {
        TFileStream file(fileName, fmCreate);
        client.Get(server.Url("/ad.swf"), file);
    }
    TMemoryStream reread;
    reread.LoadFromFile(fileName);
    std::remove(fileName.c_str());
    EXPECT_EQ(Contents(reread), body);
}

TEST(THttpClient, FollowsARedirectToTheBody) {
    LocalHttpServer server([&](const std::string& path) {
        if (path == "/old") return HttpReply::Redirect("/new");
        return HttpReply::Ok("the new page");
    });
    THttpClient client = ClientWithTimeouts();
    TMemoryStream memory;
    client.Get(server.Url("/old"), memory);
    EXPECT_EQ(Contents(memory), "the new page");
    EXPECT_EQ(server.RequestedPaths(), (std::vector<std::string>{"/old", "/new"}));
}

TEST(THttpClient, AnErrorStatusIsRaisedWithItsCodeAndWritesNothing) {
    for (int status : {403, 404, 500, 503}) {
        LocalHttpServer server([&](const std::string&) { return HttpReply::Error(status, "<html>sorry</html>"); });
        THttpClient client = ClientWithTimeouts();
        TMemoryStream memory;
        try {
            client.Get(server.Url("/x"), memory);
            ADD_FAILURE() << "status " << status << " was taken as success";
        } catch (const EHttpProtocolError& e) {
            EXPECT_EQ(e.ErrorCode(), status);
            EXPECT_EQ(e.Message().rfind("HTTP/1.1 " + std::to_string(status), 0), 0u) << e.Message();
        }
        EXPECT_EQ(memory.Size(), 0) << status;
    }
}

TEST(THttpClient, ABrokenTransferIsRaisedAndKeepsWhatArrived) {
    using Kind = HttpReply::Kind;
    for (Kind how : {Kind::DropMidBody, Kind::CloseAtStart}) {
        const std::string body(10000, 'a');
        LocalHttpServer server([&](const std::string&) { return HttpReply::Broken(how, body); });
        THttpClient client = ClientWithTimeouts();
        TMemoryStream memory;
        EXPECT_THROW(client.Get(server.Url("/ad.swf"), memory), EHttpError) << int(how);
        EXPECT_LT(memory.Size(), static_cast<std::int64_t>(body.size()));
    }
}

TEST(THttpClient, AStalledServerEndsWithinTheTotalTimeout) {
    using Kind = HttpReply::Kind;
    for (Kind how : {Kind::StallAtStart, Kind::StallMidBody}) {
        LocalHttpServer server([&](const std::string&) { return HttpReply::Broken(how); });
        THttpClient client = ClientWithTimeouts(300);
        TMemoryStream memory;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_THROW(client.Get(server.Url("/slow"), memory), EHttpTimeout) << int(how);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << int(how);
    }
}

TEST(THttpClient, UnreachableMalformedAndNonWebUrlsAreRaised) {
    const std::string unreachable = LocalHttpServer::UnreachableUrl("/index.htm");
    for (const std::string& url : {unreachable, std::string("not a url"), std::string("file:///etc/hostname"),
                                  std::string("ftp://127.0.0.1/x"), std::string("")}) {
        THttpClient client = ClientWithTimeouts();
        TMemoryStream memory;
        EXPECT_THROW(client.Get(url, memory), EHttpError) << url;
        EXPECT_EQ(memory.Size(), 0) << url;
    }
}

TEST(THttpClient, ARedirectToALocalFileIsRefused) {
    LocalHttpServer server([&](const std::string&) { return HttpReply::Redirect("file:///etc/hostname"); });
    THttpClient client = ClientWithTimeouts();
    TMemoryStream memory;
    EXPECT_THROW(client.Get(server.Url("/x"), memory), EHttpError);
    EXPECT_EQ(memory.Size(), 0);
}

// A stream that refuses to grow past a limit, as a full disk does.
class FullDiskStream : public TMemoryStream {
public:
    std::int64_t Write(const void* buffer, std::int64_t count) override {
        if (Size() + count > 1000) throw EWriteError("Stream write error");
        return TMemoryStream::Write(buffer, count);
    }
};

TEST(THttpClient, AFailingStreamAbortsTheTransferWithItsOwnError) {
    LocalHttpServer server([&](const std::string&) { return HttpReply::Ok(std::string(100000, 'z')); });
    THttpClient client = ClientWithTimeouts();
    FullDiskStream stream;
    EXPECT_THROW(client.Get(server.Url("/big"), stream), EWriteError);
}

// libcurl is opened on the first Get; when it cannot be, Get raises the
// client's own error and a later Get with the library available works.
TEST(THttpClient, AMissingCurlLibraryIsRaisedAsAnHttpError) {
    LocalHttpServer server([&](const std::string&) { return HttpReply::Ok("page"); });
    THttpClient client = ClientWithTimeouts();
    TMemoryStream memory;

    SetCurlLibraryForTesting("libmirvo-no-such-curl.so.4");
    try {
        client.Get(server.Url("/x"), memory);
        ADD_FAILURE() << "a Get without libcurl succeeded";
    } catch (const EHttpError& e) {
        EXPECT_NE(e.Message().find("libmirvo-no-such-curl.so.4"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(memory.Size(), 0);

    SetCurlLibraryForTesting(nullptr);
    client.Get(server.Url("/x"), memory);
    EXPECT_EQ(Contents(memory), "page");
}

}  // namespace
