// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "text/cp1250.h"
#include "text/error.h"

namespace orbela {
namespace {

TEST(Cp1250Test, CzechLettersAreOneByteEachAndComeBackUnchanged)
{
    const char* const letters = "áčďéěíňóřšťúůýž ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ";
    const std::string bytes = Utf8ToCp1250(letters);
    ASSERT_EQ(bytes.size(), 31u);
    EXPECT_EQ(bytes.substr(0, 2), "\xE1\xE8");  // á č
    EXPECT_EQ(bytes.substr(9, 1), "\x9A");      // š
    EXPECT_EQ(Cp1250ToUtf8(bytes), letters);
}

TEST(Cp1250Test, CharacterWithoutAWindows1250FormIsAnError)
{
    EXPECT_EQ(TryUtf8ToCp1250("Grüße ✓"), std::nullopt);
    EXPECT_EQ(TryUtf8ToCp1250("\xC3"), std::nullopt);  // cut UTF-8
    EXPECT_THROW(Utf8ToCp1250("kůň ✓"), Error);
    EXPECT_EQ(Utf8ToCp1250Lossy("kůň ✓"), Utf8ToCp1250("kůň ") + "?");
}

// Text in another encoding is told apart from a character this code page
// lacks: raw Windows-1250, a cut sequence, an overlong form, a surrogate.
TEST(Cp1250Test, BytesThatAreNotUtf8AreReportedAsSuch)
{
    const auto message = [](std::string_view text) {
        try {
            Utf8ToCp1250(text);
        } catch (const Error& error) {
            return std::string(error.what());
        }
        return std::string("(converted)");
    };
    EXPECT_EQ(message("p\xF8\xEDli\x9A"), "The byte \\xF8 at byte 1 is not valid UTF-8");
    EXPECT_EQ(message("ko\xC5"), "The byte \\xC5 at byte 2 is not valid UTF-8");
    EXPECT_EQ(message("\xC0\xAF"), "The byte \\xC0 at byte 0 is not valid UTF-8");
    EXPECT_EQ(message("a\xED\xA0\x80"), "The byte \\xED at byte 1 is not valid UTF-8");
    EXPECT_EQ(message("k\xC5\xAF\xE2\x9C\x93"), "The character \\xE2\\x9C\\x93 at byte 3 has no Windows-1250 form");
}

} // namespace
} // namespace orbela
