#include "Streams.h"

#include <gtest/gtest.h>

#include <cstring>

#include "Exceptions.h"
#include "TempDir.h"

TEST(TStream, ShortTransfersRaiseReadAndWriteErrors) {
    TMemoryStream memory;
    memory.WriteBuffer("abcdef", 6);
    memory.SetPosition(4);
    char buffer[8] = {};
    EXPECT_EQ(memory.Read(buffer, 8), 2);   // Read reports what it got
    memory.SetPosition(4);
    try {
        memory.ReadBuffer(buffer, 3);       // ReadBuffer insists on all of it
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }

    TempDir dir;
    {
        TFileStream file(dir / "f.bin", fmCreate);
        file.WriteBuffer("12345", 5);
        file.SetPosition(3);
        EXPECT_THROW(file.ReadBuffer(buffer, 3), EReadError);
    }
    TFileStream readOnly(dir / "f.bin", fmOpenRead);
    EXPECT_THROW(readOnly.WriteBuffer("x", 1), EWriteError);
}

TEST(TStream, SeekOriginsPositionAndSize) {
    TMemoryStream s;
    s.WriteBuffer("0123456789", 10);
    EXPECT_EQ(s.Seek(2, soFromBeginning), 2);
    EXPECT_EQ(s.Seek(3, soFromCurrent), 5);
    EXPECT_EQ(s.Seek(-1, soFromEnd), 9);
    EXPECT_THROW(s.Seek(-11, soFromEnd), EStreamError);
    EXPECT_EQ(s.Seek(12, soFromBeginning), 12);   // past the end is allowed
    s.WriteBuffer("X", 1);                        // and a write there fills the gap with zeros
    EXPECT_EQ(s.Size(), 13);
    EXPECT_EQ(std::memcmp(s.Memory() + 10, "\0\0X", 3), 0);
    s.SetSize(4);
    EXPECT_EQ(s.Position(), 4);                   // pulled back to the new end
    EXPECT_EQ(std::string(s.Memory(), 4), "0123");
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(TFileStream, ModesAndErrorMessages) {
    TempDir dir;
    const std::string path = dir / "data.bin";
    {
        TFileStream out(path, fmCreate);
        out.WriteBuffer("hello world", 11);
    }
    {
        TFileStream rw(path, fmOpenReadWrite | fmShareDenyNone);
        EXPECT_EQ(rw.Size(), 11);
        rw.Seek(-5, soFromEnd);
        rw.WriteBuffer("WORLD", 5);
        rw.SetSize(8);
        EXPECT_EQ(rw.Size(), 8);
    }
    {
        TFileStream in(path, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(in.ReadRemainingText(), "hello WO");
    }
    {
        TFileStream truncate(path, fmCreate);     // fmCreate empties an existing file
        EXPECT_EQ(truncate.Size(), 0);
    }
    try {
        TFileStream missing(dir / "none.bin", fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + (dir / "none.bin") + "\". No such file or directory");
    }
    try {
        TFileStream noDir(dir / "no/such/dir.bin", fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + (dir / "no/such/dir.bin") + "\". No such file or directory");
    }
    EXPECT_THROW(TFileStream(dir.Dir(), fmOpenRead), EFOpenError);  // a directory is not a file
}

TEST(TMemoryStream, FilesAndCopyFrom) {
    TempDir dir;
    TMemoryStream source;
    std::string big(200000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    source.WriteBuffer(big.data(), static_cast<std::int64_t>(big.size()));
    source.SaveToFile(dir / "m.bin");

    TMemoryStream loaded;
    loaded.LoadFromFile(dir / "m.bin");
    ASSERT_EQ(loaded.Size(), static_cast<std::int64_t>(big.size()));
    EXPECT_EQ(std::string(loaded.Memory(), big.size()), big);
    EXPECT_EQ(loaded.Position(), 0);

    TMemoryStream copy;
    EXPECT_EQ(copy.CopyFrom(loaded, 0), static_cast<std::int64_t>(big.size()));  // 0: the whole source
    EXPECT_EQ(std::string(copy.Memory(), big.size()), big);
    loaded.SetPosition(10);
    TMemoryStream part;
    part.CopyFrom(loaded, 5);
    EXPECT_EQ(std::string(part.Memory(), 5), big.substr(10, 5));
    loaded.SetPosition(big.size() - 2);
    EXPECT_THROW(part.CopyFrom(loaded, 5), EReadError);
}
