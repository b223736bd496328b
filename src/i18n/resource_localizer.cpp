// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/resource_localizer.h"

#include <map>

#include "text/cp1250.h"

namespace orbela {
namespace {

// The longest text a caller gets: the string buffer holds 256 characters
// with its terminator.
constexpr std::size_t MaxStringLength = 255;

using ConvertedTable = std::array<std::string, LanguageStringCount>;

// Every table by its language number, in Windows-1250. Built once; a table
// text that has no Windows-1250 form is a fault of the source and raises
// here rather than showing a wrong text.
const std::map<int, ConvertedTable>& TablesByLanguage()
{
    static const std::map<int, ConvertedTable> tables = [] {
        std::map<int, ConvertedTable> converted;
        for (const LanguageTable& table : LanguageTables) {
            ConvertedTable& texts = converted[table.number];
            for (std::size_t index = 0; index < texts.size(); ++index) {
                texts[index] = Utf8ToCp1250(table.strings[index]);
                if (texts[index].size() > MaxStringLength)
                    texts[index].resize(MaxStringLength);
            }
        }
        return converted;
    }();
    return tables;
}

} // namespace

std::string TResourceLocalizer::LoadLanguageString(int language, int index)
{
    // Only the three base numbers have strings: 1001 is not Czech string 1,
    // nor is 1000 + 1000 English string 0.
    if (index < 0 || index >= LanguageStringCount)
        return {};
    const auto& tables = TablesByLanguage();
    const auto found = tables.find(language);
    if (found == tables.end())
        return {};
    return found->second[static_cast<std::size_t>(index)];
}

void TResourceLocalizer::FillLanguageList(std::vector<LanguageListItem>& list)
{
    list.clear();
    for (int number = LanguageCzech;; number += LanguageCzech) {
        std::string name = LoadLanguageString(number, 0);
        if (name.empty())
            return;
        list.push_back({std::move(name), number});
    }
}

} // namespace orbela
