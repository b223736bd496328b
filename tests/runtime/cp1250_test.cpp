#include <gtest/gtest.h>

#include <string>

#include "runtime/cp1250.h"
#include "runtime/error.h"

namespace orbela {
namespace {

const char* const CzechLetters = "áčďéěíňóřšťúůýž ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ";

TEST(Cp1250Test, CzechLettersAreOneByteEachAndComeBackUnchanged)
{
    const std::string bytes = Utf8ToCp1250(CzechLetters);
    EXPECT_EQ(bytes.size(), 31u);
    // A few code points of the code page, to catch a wrong one.
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xE1);  // á
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xE8);  // č
    EXPECT_EQ(static_cast<unsigned char>(bytes[9]), 0x9A);  // š
    EXPECT_EQ(static_cast<unsigned char>(bytes[14]), 0x9E); // ž
    EXPECT_EQ(Cp1250ToUtf8(bytes), CzechLetters);
    EXPECT_EQ(TryUtf8ToCp1250(CzechLetters), bytes);
}

TEST(Cp1250Test, EveryDefinedByteSurvivesARoundTrip)
{
    std::string all;
    for (int code = 1; code < 256; ++code)
        all += static_cast<char>(code);
    const std::string utf8 = Cp1250ToUtf8(all);
    std::string defined;
    for (char c : all)
        if (Cp1250ToUtf8(std::string(1, c)) != "\xEF\xBF\xBD")
            defined += c;
    // The code page leaves five bytes undefined.
    EXPECT_EQ(defined.size(), 250u);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(defined)), defined);
}

TEST(Cp1250Test, CharacterWithoutAWindows1250FormIsAnError)
{
    EXPECT_FALSE(TryUtf8ToCp1250("Grüße ✓").has_value());
    EXPECT_FALSE(TryUtf8ToCp1250("\xC3").has_value());  // cut UTF-8
    EXPECT_THROW(Utf8ToCp1250("kůň ✓"), Error);
    EXPECT_EQ(Utf8ToCp1250Lossy("kůň ✓"), Utf8ToCp1250("kůň ") + "?");
}

} // namespace
} // namespace orbela
