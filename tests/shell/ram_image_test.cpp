// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ram_image.h"

#include <gtest/gtest.h>

#include "runtime/error.h"
#include "shell/temp_folder.h"

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
    LoadRamImage(image, path);
    EXPECT_EQ(image, RamImage{});
    SaveRamImage(image, path);
    EXPECT_EQ(ReadBytes(path), std::string(RamImageSize, '\0'));
}

TEST_F(RamImageTest, AnEmptyFileReadsNothing)
{
    WriteBytes(path, "");
    LoadRamImage(image, path);
    EXPECT_EQ(image, RamImage{});
}

TEST_F(RamImageTest, AShortFileFillsTheFirstBytesOnly)
{
    WriteBytes(path, Pattern(100));
    LoadRamImage(image, path);
    for (std::size_t i = 0; i < 100; ++i)
        ASSERT_EQ(image[i], static_cast<std::uint8_t>((i * 7 + 3) % 256)) << "at " << i;
    for (std::size_t i = 100; i < RamImageSize; ++i)
        ASSERT_EQ(image[i], 0) << "at " << i;

    SaveRamImage(image, path);
    EXPECT_EQ(ReadBytes(path), Pattern(100) + std::string(RamImageSize - 100, '\0'));
}

TEST_F(RamImageTest, ALongerFileGivesItsFirst65536Bytes)
{
    const std::string bytes = Pattern(RamImageSize + 500);
    WriteBytes(path, bytes);
    LoadRamImage(image, path);
    EXPECT_EQ(std::string(image.begin(), image.end()), bytes.substr(0, RamImageSize));
    SaveRamImage(image, path);
    EXPECT_EQ(ReadBytes(path), bytes.substr(0, RamImageSize));
}

TEST_F(RamImageTest, SavingTwiceWritesTheSameBytes)
{
    image[0] = 1;
    image[50730] = 1;
    image[RamImageSize - 1] = 0xFF;
    SaveRamImage(image, path);
    const std::string first = ReadBytes(path);
    SaveRamImage(image, path);
    EXPECT_EQ(ReadBytes(path), first);
    ASSERT_EQ(first.size(), RamImageSize);
    EXPECT_EQ(first[50730], '\x01');

    RamImage reloaded{};
    LoadRamImage(reloaded, path);
    EXPECT_EQ(reloaded, image);
}

TEST_F(RamImageTest, AnUnreadableFileRaisesAndKeepsTheImage)
{
    fs::create_directory(path);
    image[5] = 9;
    EXPECT_THROW(LoadRamImage(image, path), Error);
    EXPECT_EQ(image[5], 9);
}

TEST_F(RamImageTest, AFailedSaveIsReportedAndKeepsTheOldFile)
{
    WriteBytes(folder / "plain", "x");
    const fs::path blocked = folder / "plain" / "ram.dat";
    try {
        SaveRamImage(image, blocked);
        FAIL() << "the write was reported as done";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + blocked.string());
    }

    // A folder standing where the file should be cannot be replaced.
    fs::create_directory(path);
    WriteBytes(path / "inside", "kept");
    EXPECT_THROW(SaveRamImage(image, path), Error);
    EXPECT_EQ(ReadBytes(path / "inside"), "kept");
}

} // namespace
} // namespace orbela
