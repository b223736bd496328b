// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "runtime/cp1250.h"
#include "runtime/error.h"

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

} // namespace
} // namespace orbela
