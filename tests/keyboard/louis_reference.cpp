// SPDX-License-Identifier: GPL-3.0-or-later
#include "louis_reference.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace orbela::testing {
namespace {

namespace fs = std::filesystem;

std::optional<char32_t> Hex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    char32_t value = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + static_cast<char32_t>(digit);
    }
    return value;
}

// A character operand: one character, plain UTF-8 or escaped.
std::optional<char32_t> Character(std::string_view operand)
{
    if (operand.size() < 2 || operand.front() != '\\')
        return SingleCodePoint(operand);
    switch (operand[1]) {
    case 'x':
    case 'X':
    case 'y':
    case 'Y':
    case 'z':
    case 'Z':
        return Hex(operand.substr(2));
    case 's':
        return operand.size() == 2 ? std::optional<char32_t>(U' ') : std::nullopt;
    case 't':
        return operand.size() == 2 ? std::optional<char32_t>(U'\t') : std::nullopt;
    case '\\':
        return operand.size() == 2 ? std::optional<char32_t>(U'\\') : std::nullopt;
    default:
        return std::nullopt;
    }
}

class Reader {
public:
    explicit Reader(fs::path top) : top_(std::move(top)) {}

    void Read(const fs::path& file, int depth = 0)
    {
        if (depth > 20)
            throw std::runtime_error("liblouis includes nest too deep at " + file.string());
        std::ifstream in(file);
        if (!in)
            throw std::runtime_error("cannot read " + file.string());
        std::string line;
        while (std::getline(in, line))
            TakeLine(file, line, depth);
    }

    LouisTable table;

private:
    void TakeLine(const fs::path& file, const std::string& line, int depth)
    {
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string word; words.size() < 4 && fields >> word;)
            words.push_back(word);
        if (words.empty() || words[0].front() == '#')
            return;
        const std::string& opcode = words[0];
        if (opcode == "include" && words.size() >= 2) {
            Read(Resolve(file, words[1]), depth + 1);
            return;
        }
        if (opcode == "numsign" && words.size() >= 2 && table.numsign.empty())
            table.numsign = words[1];
        if (opcode == "capsletter" && words.size() >= 2 && table.capsletter.empty())
            table.capsletter = words[1];
        if (words.size() < 3)
            return;
        if (opcode == "base" && words.size() >= 4 && words[1] == "uppercase") {
            const auto capital = Character(words[2]);
            const auto small = Character(words[3]);
            if (capital && small)
                table.capitalBase.emplace(*capital, *small);
            return;
        }
        const auto character = Character(words[1]);
        if (!character)
            return;
        if (opcode == "letter" || opcode == "lowercase" || opcode == "uppercase" || opcode == "punctuation" ||
            opcode == "sign" || opcode == "math")
            table.characters.emplace(*character, words[2]);
        else if (opcode == "digit")
            table.digits.emplace(*character, words[2]);
        else if (opcode == "decpoint")
            table.decimalPoints.emplace(*character, words[2]);
    }

    fs::path Resolve(const fs::path& including, const std::string& name) const
    {
        const fs::path beside = including.parent_path() / name;
        if (fs::exists(beside))
            return beside;
        return top_.parent_path() / name;
    }

    fs::path top_;
};

} // namespace

LouisTable ReadLouisTable(const fs::path& file)
{
    Reader reader(file);
    reader.Read(file);
    return reader.table;
}

std::optional<char32_t> SingleCodePoint(std::string_view utf8)
{
    if (utf8.empty())
        return std::nullopt;
    const auto lead = static_cast<unsigned char>(utf8[0]);
    std::size_t length;
    char32_t value;
    if (lead < 0x80) {
        length = 1;
        value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (utf8.size() != length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(utf8[i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        value = (value << 6) | (next & 0x3F);
    }
    return value;
}

} // namespace orbela::testing
