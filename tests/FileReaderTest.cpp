// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The file reader: recognised sizes, where the block is taken from, and how failures surface.
// What differs between the platforms is in FileReaderLinuxTest.cpp and FileReaderWindowsTest.cpp.
#include "FileReaderSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

TEST(ReadHorseBlock, CopiesTheBlockFromTheOffsetOfEachRecognisedSize) {
    TempDir dir;
    const HorseBlock block = PatternBlock();
    for (const HorseFileLayout& layout : HorseFileLayouts) {
        SCOPED_TRACE(layout.FileSize);
        const std::string path = dir.File("horses.dat");
        const std::vector<std::uint8_t> bytes = MakeHorseFileBytes(layout.FileSize, block);
        // The writer's filler must differ from the block just around it, or a read one byte
        // off could still match.
        ASSERT_NE(bytes[static_cast<std::size_t>(layout.BlockOffset) - 1], block.front());
        ASSERT_NE(bytes[static_cast<std::size_t>(layout.BlockOffset) + HorseBlockSize],
                  block.back());
        WriteBytes(path, bytes);

        const ReadResult result = Read(path);
        ASSERT_TRUE(result.Ok);
        EXPECT_TRUE(result.Buffer == block);
    }
}
// A regular file of any size but the recognised ones is refused, and the buffer left as it was.
TEST(ReadHorseBlock, AnyOtherSizeIsRefusedAndTheBufferUntouched) {
    TempDir dir;
    for (const std::string& path : MakeWrongSizedFiles(dir)) {
        SCOPED_TRACE(path);
        const ReadResult result = Read(path);
        EXPECT_FALSE(result.Ok);
        EXPECT_TRUE(IsUntouched(result.Buffer));
    }
}

// More than the file holds after the offset (as when the file shrinks during the read): the
// part that exists is copied and the rest is zero, not left as it was.
TEST(ReadHorseBlock, TheUnreadRestOfALongRequestIsZero) {
    TempDir dir;
    const std::string path = dir.File("horses.dat");
    const HorseFileLayout layout = HorseFileLayouts[0];
    const std::vector<std::uint8_t> bytes = MakeHorseFileBytes(layout.FileSize, PatternBlock());
    WriteBytes(path, bytes);
    const std::size_t available = static_cast<std::size_t>(layout.FileSize - layout.BlockOffset);
    std::vector<std::uint8_t> buffer(available + 100, Untouched);

    ASSERT_TRUE(TDM_FileAccess().ReadHorseBlock(path, buffer.size(), buffer));
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(available),
                           bytes.begin() + layout.BlockOffset));
    EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(available), buffer.end(),
                            [](std::uint8_t b) { return b == 0; }));
}

// File names are UTF-8 on every platform; Windows must not read them in its ANSI code page.
TEST(ReadHorseBlock, AJapaneseFileNameOpensAndAFolderIsRefused) {
    TempDir dir;
    const HorseBlock block = PatternBlock();
    const std::string path = dir.File("馬データ.dat");
    WriteHorseFile(path, HorseFileLayouts[2].FileSize, block);
    const ReadResult result = Read(path);
    ASSERT_TRUE(result.Ok);
    EXPECT_TRUE(result.Buffer == block);

    const ReadResult folder = Read(Utf8FromFilePath(dir.Path()));
    EXPECT_FALSE(folder.Ok);
    EXPECT_TRUE(IsUntouched(folder.Buffer));
}

// The read for a followed file: each version whole, whichever way it came (written over or
// renamed over the name, here at another size), and the same errors.
TEST(ReadWholeHorseBlock, ReadsEachVersionAndRaisesForAMissingFile) {
    TempDir dir;
    const std::string path = dir.File("馬データ.dat");
    const std::string other = dir.File("other.dat");
    HorseBlock buffer{};
    TDM_FileAccess reader;
    WriteHorseFile(path, HorseFileLayouts[0].FileSize, PatternBlock(1));
    ASSERT_EQ(reader.ReadWholeHorseBlock(path, HorseBlockSize, buffer), WholeRead::Read);
    EXPECT_TRUE(buffer == PatternBlock(1));
    WriteHorseFile(other, HorseFileLayouts[2].FileSize, PatternBlock(2));
    std::filesystem::rename(FilePathFromUtf8(other), FilePathFromUtf8(path));
    ASSERT_EQ(reader.ReadWholeHorseBlock(path, HorseBlockSize, buffer), WholeRead::Read);
    EXPECT_TRUE(buffer == PatternBlock(2));
    std::filesystem::remove(FilePathFromUtf8(path));
    EXPECT_THROW(reader.ReadWholeHorseBlock(path, HorseBlockSize, buffer), EInOutError);
}
