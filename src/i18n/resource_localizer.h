// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three string tables of the user interface (Czech 1000, English 2000,
// Slovak 3000; 47 strings each). Texts are Windows-1250.

#include <array>
#include <string>
#include <vector>

namespace orbela {

inline constexpr int LanguageCzech = 1000;
inline constexpr int LanguageEnglish = 2000;
inline constexpr int LanguageSlovak = 3000;
inline constexpr int LanguageStringCount = 47;

// One language's texts as written in the source (UTF-8), by index.
struct LanguageTable {
    int number;
    std::array<const char*, LanguageStringCount> strings;
};
// The compiled-in tables, in the order of their numbers.
extern const std::array<LanguageTable, 3> LanguageTables;

struct LanguageListItem {
    std::string name;  // Windows-1250
    int number;        // 1000, 2000, ...
};

class TResourceLocalizer {
public:
    // The string at language + index; the empty text when there is none (an
    // index outside 0..46, a language other than 1000, 2000, 3000). At most
    // 255 characters.
    static std::string LoadLanguageString(int language, int index);
    // Clears the list and adds string 0 of languages 1000, 2000, ... until the
    // first language that has none.
    static void FillLanguageList(std::vector<LanguageListItem>& list);
};

inline std::string LoadLanguageString(int language, int index)
{
    return TResourceLocalizer::LoadLanguageString(language, index);
}

} // namespace orbela
