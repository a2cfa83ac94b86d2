#include "ZlibStreams.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>

namespace {

std::string Bytes(TMemoryStream& s) { return std::string(s.Memory(), static_cast<std::size_t>(s.Size())); }

void Put(TMemoryStream& s, const std::string& bytes) {
    s.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    s.SetPosition(0);
}

// Mixed data: a compressible run and random bytes, longer than several chunks.
std::string SampleData(std::size_t size) {
    std::mt19937 rng(7);
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) data[i] = (i / 3000) % 2 ? char(rng()) : char('a' + i % 7);
    return data;
}

std::string Inflate(TMemoryStream& packed) {
    TMemoryStream out;
    DecompressStream(packed, out);
    return Bytes(out);
}

// A destination that records the size of every write it receives.
class RecordingStream : public TMemoryStream {
public:
    std::int64_t Write(const void* buffer, std::int64_t count) override {
        writes.push_back(count);
        return TMemoryStream::Write(buffer, count);
    }
    std::vector<std::int64_t> writes;
};

}  // namespace

TEST(ZlibStreams, RoundTripsDataOfEverySizeAndLevel) {
    for (const std::size_t size : {0u, 1u, 4095u, 4096u, 4097u, 50000u}) {
        for (const auto level : {TCompressionLevel::None, TCompressionLevel::Fastest, TCompressionLevel::Default,
                                 TCompressionLevel::Max}) {
            const std::string data = SampleData(size);
            TMemoryStream source, packed;
            Put(source, data);
            CompressStream(source, packed, level);
            EXPECT_EQ(Inflate(packed), data) << size << " bytes at level " << int(level);
        }
    }
}

TEST(ZlibStreams, WritesAZlibStreamThatZlibItselfReads) {
    const std::string data = SampleData(20000);
    TMemoryStream source, packed;
    Put(source, data);
    CompressStream(source, packed);
    // Header of a level-9 zlib stream: deflate, 32K window, best compression.
    ASSERT_GE(packed.Size(), 2);
    EXPECT_EQ(static_cast<unsigned char>(packed.Memory()[0]), 0x78);
    EXPECT_EQ(static_cast<unsigned char>(packed.Memory()[1]), 0xDA);
    std::string out(data.size(), '\0');
    uLongf outLen = out.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &outLen,
                         reinterpret_cast<const Bytef*>(packed.Memory()), uLong(packed.Size())),
              Z_OK);
    EXPECT_EQ(out, data);
}

TEST(ZlibStreams, MovesDataToTheDestinationInChunksOf4096) {
    const std::string data = SampleData(60000);  // the random half does not shrink
    RecordingStream packed;
    {
        TCompressionStream compressor(TCompressionLevel::Max, packed);
        compressor.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
        compressor.Finish();
    }
    ASSERT_GE(packed.writes.size(), 2u);
    for (std::size_t i = 0; i + 1 < packed.writes.size(); ++i) EXPECT_EQ(packed.writes[i], 4096);
    EXPECT_LE(packed.writes.back(), 4096);
    EXPECT_EQ(Inflate(packed), data);
}

TEST(ZlibStreams, DestructorFinishesAnUnfinishedStream) {
    const std::string data = SampleData(9000);
    TMemoryStream packed;
    {
        TCompressionStream compressor(TCompressionLevel::Default, packed);
        compressor.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
        EXPECT_EQ(compressor.Position(), 9000);
    }
    EXPECT_EQ(Inflate(packed), data);
}

TEST(ZlibStreams, ReadingStopsAtTheEndOfTheZlibStream) {
    const std::string data = SampleData(10000);
    TMemoryStream source, packed;
    Put(source, data);
    CompressStream(source, packed);
    const std::int64_t streamEnd = packed.Size();
    const std::string trailer = "TRAILING BYTES THAT ARE NOT PART OF THE STREAM";
    packed.WriteBuffer(trailer.data(), static_cast<std::int64_t>(trailer.size()));
    packed.SetPosition(0);

    TDecompressionStream reader(packed);
    std::string out(data.size() + 100, '\0');
    EXPECT_EQ(reader.Read(out.data(), static_cast<std::int64_t>(out.size())), 10000);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.Read(out.data(), 10), 0);
    EXPECT_EQ(reader.Read(out.data(), 10), 0);
    out.resize(data.size());
    EXPECT_EQ(out, data);
    // The source stands right after the stream, at the trailer.
    EXPECT_EQ(packed.Position(), streamEnd);
}

TEST(ZlibStreams, CorruptOrCutStreamsRaiseCompressionError) {
    const std::string data = SampleData(30000);
    TMemoryStream source, packed;
    Put(source, data);
    CompressStream(source, packed);
    const std::string good = Bytes(packed);

    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x55;
    std::string badChecksum = good;
    badChecksum.back() ^= 1;
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"not zlib", "hello, world"},
        {"cut in half", good.substr(0, good.size() / 2)},
        {"cut before the checksum", good.substr(0, good.size() - 2)},
        {"flipped byte", flipped},
        {"wrong checksum", badChecksum},
    };
    for (const auto& c : cases) {
        TMemoryStream in, out;
        Put(in, c.bytes);
        try {
            DecompressStream(in, out);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EDecompressionError& e) {
            EXPECT_EQ(e.Message(), "compression error") << c.what;
        }
    }
}

TEST(ZlibStreams, StreamsRefuseTheOperationsTheyCannotDo) {
    TMemoryStream sink;
    TCompressionStream compressor(TCompressionLevel::Max, sink);
    char byte = 0;
    EXPECT_THROW(compressor.Read(&byte, 1), ECompressionError);
    EXPECT_THROW(compressor.Seek(0, soFromBeginning), ECompressionError);
    compressor.Finish();
    try {
        compressor.Write(&byte, 1);
        ADD_FAILURE() << "write after finish";
    } catch (const ECompressionError& e) {
        EXPECT_EQ(e.Message(), "error");
    }

    TMemoryStream source, packed;
    Put(source, "abcdefghij");
    CompressStream(source, packed);
    packed.SetPosition(0);
    TDecompressionStream reader(packed);
    EXPECT_EQ(reader.Seek(4, soFromCurrent), 4);  // forward seeks skip bytes
    EXPECT_EQ(reader.Read(&byte, 1), 1);
    EXPECT_EQ(byte, 'e');
    EXPECT_THROW(reader.Seek(0, soFromBeginning), EDecompressionError);
    EXPECT_THROW(reader.Write(&byte, 1), EDecompressionError);
}
