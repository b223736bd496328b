// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the table from a file: the failures a user sees at start, and the
// lines surviving the reads in pieces.

#include "keyboard/braille_table.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "text/error.h"
#include "support/temp_folder.h"

namespace orbela {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

std::string ErrorText(BrailleTable& table, const std::filesystem::path& file)
{
    try {
        table.LoadBrailleTable(file);
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(LoadBrailleTableFile, MissingFileIsFileNotFoundAndOnlyTheSpaceChordWorks)
{
    TempFolder folder;
    BrailleTable table;
    EXPECT_EQ(ErrorText(table, folder / "czech.ebt"), "File not found");
    EXPECT_TRUE(table.prefixtable().empty());
    EXPECT_TRUE(table.braillechartable().empty());
    EXPECT_EQ(table.TranslateChord("1"), "");
    EXPECT_EQ(table.TranslateChord(" "), " ");
}

TEST(LoadBrailleTableFile, UnreadableFileRaisesAndKeepsNothingItCouldNotRead)
{
    TempFolder folder;
    std::filesystem::create_directory(folder / "czech.ebt");
    BrailleTable table;
    ASSERT_FALSE(table.LoadBrailleTableText("[characters]\na=1\n"));
    EXPECT_EQ(ErrorText(table, folder / "czech.ebt"), "File access denied");
    EXPECT_TRUE(table.braillechartable().empty());
}

TEST(LoadBrailleTableFile, ReadsCzechEbtFromTheCurrentDirectoryByDefault)
{
    TempFolder folder;
    WriteBytes(folder / "czech.ebt", "[prefixes]\r\n#cap=6\r\n[characters]\r\na=1\r\n[#cap]\r\nA=1\r\n");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    BrailleTable table;
    BrailleTableSurplus surplus;
    EXPECT_NO_THROW(surplus = table.LoadBrailleTable());
    std::filesystem::current_path(before);
    EXPECT_FALSE(surplus);
    EXPECT_EQ(table.TranslateChord("6"), "");
    EXPECT_EQ(table.TranslateChord("1"), "A");
    EXPECT_EQ(table.TranslateChord("1"), "a");
}

// The file is read in pieces: lines cut by a piece's end, and a CR LF cut
// there, must come out as from the whole text at once.
TEST(LoadBrailleTableFile, LargeFileGivesTheSameTablesAsItsText)
{
    constexpr std::size_t piece = 4096;
    std::string text = "[characters]\r\n";
    for (int i = 0; text.size() < 5 * piece; ++i) {
        // One entry ends with the CR of its CR LF on the last byte of the
        // first piece.
        if (text.size() < piece && piece - text.size() < 80) {
            text += "cut=" + std::string(piece - 1 - text.size() - 4, '1') + "\r\n";
            continue;
        }
        text += "entry" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 37), '.') + "=" +
                std::to_string(i) + (i % 3 == 0 ? "\r\n" : (i % 3 == 1 ? "\n" : "\r"));
    }
    ASSERT_EQ(text.substr(piece - 1, 2), "\r\n");
    TempFolder folder;
    WriteBytes(folder / "big.ebt", text);
    BrailleTable fromFile;
    BrailleTable fromText;
    const BrailleTableSurplus fileSurplus = fromFile.LoadBrailleTable(folder / "big.ebt");
    const BrailleTableSurplus textSurplus = fromText.LoadBrailleTableText(text);
    EXPECT_GT(fileSurplus.characters, 0u);
    EXPECT_EQ(fileSurplus.characters, textSurplus.characters);
    ASSERT_EQ(fromFile.braillechartable().size(), fromText.braillechartable().size());
    for (std::size_t i = 0; i < fromFile.braillechartable().size(); ++i) {
        EXPECT_EQ(fromFile.braillechartable()[i].character, fromText.braillechartable()[i].character) << i;
        EXPECT_EQ(fromFile.braillechartable()[i].dots, fromText.braillechartable()[i].dots) << i;
    }
    EXPECT_EQ(fromFile.braillechartable()[0].character, "entry0");
    EXPECT_EQ(fromFile.braillechartable()[0].dots, "0");
}

// A file past the cap is refused with its name; one long line below it is
// read in one pass (the reader once rescanned it after every piece).
TEST(LoadBrailleTableFile, AnOversizedFileIsRefusedAndALongLineIsRead)
{
    TempFolder folder;
    WriteBytes(folder / "huge.ebt", "[characters]\n" + std::string(BrailleTable::MaxFileBytes, 'x'));
    BrailleTable table;
    EXPECT_EQ(ErrorText(table, folder / "huge.ebt"), "huge.ebt is larger than 1048576 bytes and is not read");

    WriteBytes(folder / "long.ebt", "[characters]\n" + std::string(BrailleTable::MaxFileBytes - 100, 'x') + "=1\nb=12");
    EXPECT_EQ(ErrorText(table, folder / "long.ebt"), "(no error)");
    ASSERT_EQ(table.braillechartable().size(), 2u);
    EXPECT_EQ(table.braillechartable()[0].dots, "1");
    EXPECT_EQ(table.braillechartable()[1].character, "b");
}

} // namespace
} // namespace orbela
