// Reading a word list file as a stream: records across the pieces the file
// is read in, whatever the encoding, with blank lines passed over, malformed
// lines counted, and binary or oversized files refused without being read.

#include "WordListReader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "ScratchFolder.h"
#include "WordListFile.h"

namespace {

namespace fs = std::filesystem;

class WordListReaderTest : public ::testing::Test {
protected:
    AnsiString Write(const std::string& bytes) {
        const fs::path path = scratch_.Path() / "list.txt";
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    const ScratchFolder scratch_;
};

std::string Utf16Le(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST_F(WordListReaderTest, RecordsComeWholeAcrossThePiecesTheFileIsReadIn) {
    // Lines of odd lengths, so that characters of two and three bytes, CR LF
    // pairs and UTF-16 units all fall across the 1 MB pieces somewhere.
    constexpr int kLines = 150000;
    std::string gbk;
    std::string utf8;
    std::u16string utf16;
    for (int i = 0; i < kLines; ++i) {
        const std::string head = "w" + std::to_string(i);
        gbk += head + "|n.猫狗\r\n";
        utf8 += head + "|n.\xE7\x8C\xAB\xE7\x8B\x97\r\n";
        utf16 += std::u16string(head.begin(), head.end()) + u"|n.猫狗\r\n";
    }
    for (const std::string& bytes : {gbk, "\xEF\xBB\xBF" + utf8, utf8, Utf16Le(utf16)}) {
        const std::optional<TWordListRecords> read = ReadWordListRecords(Write(bytes));
        ASSERT_TRUE(read);
        ASSERT_EQ(read->Records.Length(), std::size_t(kLines));
        EXPECT_EQ(read->Malformed, 0u);
        EXPECT_EQ(read->Replaced, 0u);
        for (std::size_t i = 0; i < read->Records.Length(); i += 997) {
            EXPECT_EQ(read->Records[i].Eng, "w" + std::to_string(i));
            EXPECT_EQ(read->Records[i].Chs, "n.猫狗");
        }
    }
}

TEST_F(WordListReaderTest, BlankLinesCostNothingAndJunkLinesAreCounted) {
    // Millions of empty lines, in every line-break style, and a line far
    // longer than any word: only the two words become records.
    std::string bytes = "cat|n.猫\n";
    bytes += std::string(3 << 20, '\n') + std::string(2 << 20, '\r') + "\r\n \t \r\n";
    bytes += std::string(200000, 'x') + "\r\n";                      // no separator
    bytes += std::string(100000, 'y') + "|n.\r\n";                   // a headword far past any limit
    bytes += "dog|n.狗";
    const std::optional<TWordListRecords> read = ReadWordListRecords(Write(bytes));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->Records.Length(), 2u);
    EXPECT_EQ(read->Records[0].Eng, "cat");
    EXPECT_EQ(read->Records[1].Eng, "dog");
    EXPECT_EQ(read->Records[1].Chs, "n.狗");
    EXPECT_EQ(read->Malformed, 2u);
    EXPECT_LT(read->Records.MemoryBytes(), std::size_t(1) << 20);
}

TEST_F(WordListReaderTest, BinaryContentIsFoundInTheFirstPieceAndTheRestIsNeverRead) {
    // 200 MB of nothing (sparse, so nothing on the disk either).
    const AnsiString path = Write("cat|n.猫\r\n");
    fs::resize_file(path.c_str(), std::uint64_t{200} << 20);
    std::uint64_t furthest = 0;
    EXPECT_THROW(ReadWordListRecords(path,
                                     [&](std::uint64_t done, std::uint64_t) {
                                         furthest = done;
                                         return true;
                                     }),
                 EReadError);
    EXPECT_LE(furthest, std::uint64_t{1} << 20);
}

TEST(WordListFileSize, IsNamedInTheUnitThatFits) {
    EXPECT_EQ(FormatFileSize(100), "100 字节");
    EXPECT_EQ(FormatFileSize(12800), "12.5 KB");
    EXPECT_EQ(FormatFileSize(std::uint64_t{256} << 20), "256.0 MB");
    EXPECT_EQ(FormatFileSize(std::uint64_t{3} << 30), "3.0 GB");
}

}  // namespace
