#include "speech/character_names.h"

#include <climits>
#include <fstream>
#include <optional>

#include "i18n/resource_localizer.h"
#include "runtime/error.h"

namespace orbela {

namespace {

std::optional<long long> ParseDigits(std::string_view digits, int base, bool negative)
{
    if (digits.empty())
        return std::nullopt;
    long long magnitude = 0;
    for (const char c : digits) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX)
        return std::nullopt;
    return value;
}

// The integers of the configuration file: decimal with an optional sign,
// or hexadecimal after "0x"/"0X" (more than two characters) or "$", within
// the 32-bit range.
std::optional<long long> ParseInteger(std::string_view text)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseDigits(text.substr(2), 16, false);
    if (!text.empty() && text[0] == '$')
        return ParseDigits(text.substr(1), 16, false);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    return ParseDigits(text, 10, negative);
}

} // namespace

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
        const auto code = equals == std::string::npos ? std::nullopt : ParseInteger(codeText);
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
    return LoadLanguageString(language, 24) + ".eky";
}

} // namespace orbela
