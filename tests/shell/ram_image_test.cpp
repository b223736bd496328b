// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ram_image.h"

#include <gtest/gtest.h>

#include "text/error.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) % 256);
    return bytes;
}

class RamImageTest : public ::testing::Test {
protected:
    TempFolder folder;
    fs::path path = folder / "ram.dat";
    RamImage image{};
};

TEST_F(RamImageTest, AMissingFileLeavesTheImageZeroAndSavesZeros)
{
    RamImageFile(path).Load(image);
    EXPECT_EQ(image, RamImage{});
    RamImageFile(path).Save(image);
    EXPECT_EQ(ReadBytes(path), std::string(RamImageSize, '\0'));
}

TEST_F(RamImageTest, AnEmptyFileReadsNothing)
{
    WriteBytes(path, "");
    RamImageFile(path).Load(image);
    EXPECT_EQ(image, RamImage{});
}

TEST_F(RamImageTest, AShortFileFillsTheFirstBytesOnly)
{
    WriteBytes(path, Pattern(100));
    RamImageFile(path).Load(image);
    for (std::size_t i = 0; i < 100; ++i)
        ASSERT_EQ(image[i], static_cast<std::uint8_t>((i * 7 + 3) % 256)) << "at " << i;
    for (std::size_t i = 100; i < RamImageSize; ++i)
        ASSERT_EQ(image[i], 0) << "at " << i;

    RamImageFile(path).Save(image);
    EXPECT_EQ(ReadBytes(path), Pattern(100) + std::string(RamImageSize - 100, '\0'));
}

TEST_F(RamImageTest, ALongerFileIsReportedAndNeverCutToTheImage)
{
    const std::string bytes = Pattern(RamImageSize + 500);
    WriteBytes(path, bytes);
    RamImageFile file(path);
    try {
        file.Load(image);
        FAIL() << "an over-long file was taken for an image";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Unable to read " + path.string() + ": it is longer than 65536 bytes and is kept as it is");
    }
    EXPECT_THROW(file.Save(image), Error);
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(RamImageTest, SavingTwiceWritesTheSameBytes)
{
    image[0] = 1;
    image[50730] = 1;
    image[RamImageSize - 1] = 0xFF;
    RamImageFile(path).Save(image);
    const std::string first = ReadBytes(path);
    RamImageFile(path).Save(image);
    EXPECT_EQ(ReadBytes(path), first);
    ASSERT_EQ(first.size(), RamImageSize);
    EXPECT_EQ(first[50730], '\x01');

    RamImage reloaded{};
    RamImageFile(path).Load(reloaded);
    EXPECT_EQ(reloaded, image);
}

TEST_F(RamImageTest, AnUnreadableFileRaisesAndKeepsTheImage)
{
    fs::create_directory(path);
    image[5] = 9;
    EXPECT_THROW(RamImageFile(path).Load(image), Error);
    EXPECT_EQ(image[5], 9);
}

TEST_F(RamImageTest, AFailedSaveIsReportedAndKeepsTheOldFile)
{
    WriteBytes(folder / "plain", "x");
    const fs::path blocked = folder / "plain" / "ram.dat";
    try {
        RamImageFile(blocked).Save(image);
        FAIL() << "the write was reported as done";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + blocked.string() + ": Not a directory");
    }

    // A folder standing where the file should be cannot be replaced.
    fs::create_directory(path);
    WriteBytes(path / "inside", "kept");
    EXPECT_THROW(RamImageFile(path).Save(image), Error);
    EXPECT_EQ(ReadBytes(path / "inside"), "kept");
}

} // namespace
} // namespace orbela
