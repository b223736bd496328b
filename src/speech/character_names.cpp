// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/character_names.h"

#include <fstream>
#include <optional>

#include "i18n/interface_strings.h"
#include "text/error.h"
#include "runtime/profile_integer.h"

namespace orbela {

void CharacterNameTable::Load(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw Error("File not found");
    Load(file, path.filename().string());
}

void CharacterNameTable::Load(std::istream& lines, std::string_view fileName)
{
    std::size_t surplus = 0;
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        // A full table keeps what it has: a further line must not wrap
        // round and overwrite the first entry.
        if (filled_ == EntryCount) {
            ++surplus;
            continue;
        }
        const auto equals = line.find('=');
        const std::string codeText = line.substr(0, equals);
        const auto code = equals == std::string::npos ? std::nullopt : ParseProfileInteger(codeText);
        if (!code)
            throw Error("'" + codeText + "' is not a valid integer value");
        Entry& entry = entries_[filled_++];
        entry.code = static_cast<std::uint8_t>(*code & 0xFF);
        entry.name = line.substr(equals + 1);
    }
    if (surplus > 0) {
        throw Error(std::string(fileName) + ": " + std::to_string(surplus) +
                    " lines beyond the table's 256 entries are ignored");
    }
}

std::string_view CharacterNameTable::NameOf(char character) const
{
    const auto code = static_cast<std::uint8_t>(character);
    for (std::size_t i = 0; i < filled_; ++i) {
        if (entries_[i].code == code)
            return entries_[i].name;
    }
    return {};
}

void CharacterNameTable::Clear()
{
    entries_ = {};
    filled_ = 0;
}

std::string CharacterNameFileName(int language)
{
    return LoadLanguageString(language, InterfaceString::CharacterNamesStem) + ".eky";
}

} // namespace orbela
