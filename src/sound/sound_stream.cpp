// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound_stream.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "text/cp1250.h"
#include "text/error.h"
#include "sound/byte_reader.h"

namespace orbela {
namespace {

constexpr char InvalidStreamFormat[] = "Invalid stream format";
// Lists, collections and child objects nest; a hostile file must not be
// able to exhaust the stack with them.
constexpr int MaxNesting = 64;

enum class ValueType : std::uint8_t {
    Null = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    String = 6,
    False = 8,
    True = 9,
    Binary = 10,
    LongString = 12,
    Collection = 14,
    WideString = 18,
    Utf8String = 20,
};

bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

bool IsInteger(std::uint8_t type)
{
    return type == static_cast<std::uint8_t>(ValueType::Int8) || type == static_cast<std::uint8_t>(ValueType::Int16) ||
           type == static_cast<std::uint8_t>(ValueType::Int32);
}

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16LE to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::span<const std::uint8_t> bytes)
{
    std::string out;
    std::size_t count = bytes.size() / 2;
    auto unit = [&](std::size_t i) { return static_cast<std::uint32_t>(bytes[2 * i] | bytes[2 * i + 1] << 8); };
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < count && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::string AsText(std::span<const std::uint8_t> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

class StreamReader {
public:
    explicit StreamReader(std::span<const std::uint8_t> stream) : reader_(stream, InvalidStreamFormat) {}

    std::vector<SoundRecord> Read()
    {
        if (reader_.Remaining() < 4 || AsText(reader_.Bytes(4, "the signature")) != "TPF0")
            throw Error(InvalidStreamFormat);
        ReadObject(0, ObjectRole::Root);
        return std::move(sounds_);
    }

private:
    enum class ObjectRole { Root, Child };

    std::string ShortString(std::string_view what)
    {
        std::uint8_t length = reader_.U8(what);
        return AsText(reader_.Bytes(length, what));
    }

    // The next byte is 0: the end of a list of properties, items or objects.
    bool EndMarker()
    {
        if (reader_.Peek("the next property or its end") != 0)
            return false;
        reader_.U8("the end of a list");
        return true;
    }

    void CheckNesting(int depth)
    {
        if (depth > MaxNesting)
            reader_.Fail("values are nested more than " + std::to_string(MaxNesting) + " deep");
    }

    void ReadObject(int depth, ObjectRole role)
    {
        CheckNesting(depth);
        std::uint8_t prefix = reader_.Peek("the class name");
        if ((prefix & 0xF0) == 0xF0) {
            reader_.U8("the flags byte");
            if (prefix & 0x02)
                ReadInteger("the child position");
        }
        ShortString("the class name");
        ShortString("the object name");
        while (!EndMarker()) {
            std::size_t nameAt = reader_.Offset();
            std::string name = ShortString("a property name");
            if (role == ObjectRole::Root && SameName(name, "List"))
                ReadSoundCollection(depth + 1, nameAt);
            else
                SkipValue(depth + 1);
        }
        while (!EndMarker())
            ReadObject(depth + 1, ObjectRole::Child);
    }

    std::int32_t ReadInteger(std::string_view what)
    {
        std::size_t at = reader_.Offset();
        std::uint8_t type = reader_.U8(what);
        return IntegerOfType(type, what, at);
    }

    std::int32_t IntegerOfType(std::uint8_t type, std::string_view what, std::size_t at)
    {
        switch (static_cast<ValueType>(type)) {
        case ValueType::Int8:
            return reader_.I8(what);
        case ValueType::Int16:
            return reader_.I16(what);
        case ValueType::Int32:
            return reader_.I32(what);
        default:
            reader_.Fail(std::string(what) + " is not an integer (value type " + std::to_string(type) + ")", at);
        }
    }

    // A string value of any of the four kinds, as Windows-1250 text.
    std::string ReadString(std::string_view what)
    {
        std::size_t at = reader_.Offset();
        std::uint8_t type = reader_.U8(what);
        switch (static_cast<ValueType>(type)) {
        case ValueType::String:
            return ShortString(what);
        case ValueType::LongString:
            return AsText(reader_.Bytes(reader_.U32(what), what));
        case ValueType::WideString: {
            std::uint64_t units = reader_.U32(what);
            return Utf8ToCp1250Lossy(Utf16ToUtf8(reader_.Bytes(units * 2, what)));
        }
        case ValueType::Utf8String:
            return Utf8ToCp1250Lossy(AsText(reader_.Bytes(reader_.U32(what), what)));
        default:
            reader_.Fail(std::string(what) + " is not a string (value type " + std::to_string(type) + ")", at);
        }
    }

    void SkipValue(int depth)
    {
        CheckNesting(depth);
        std::size_t at = reader_.Offset();
        std::uint8_t type = reader_.U8("a value type");
        SkipValueOfType(type, depth, at);
    }

    void SkipValueOfType(std::uint8_t type, int depth, std::size_t at)
    {
        switch (static_cast<ValueType>(type)) {
        case ValueType::Null:
        case ValueType::False:
        case ValueType::True:
            return;
        case ValueType::List:
            while (!EndMarker())
                SkipValue(depth + 1);
            return;
        case ValueType::Int8:
        case ValueType::Int16:
        case ValueType::Int32:
            IntegerOfType(type, "an integer", at);
            return;
        case ValueType::String:
            ShortString("a string");
            return;
        case ValueType::LongString:
        case ValueType::Utf8String:
        case ValueType::Binary:
            reader_.Skip(reader_.U32("a value's length"), "a value");
            return;
        case ValueType::WideString:
            reader_.Skip(std::uint64_t{reader_.U32("a wide string's length")} * 2, "a wide string");
            return;
        case ValueType::Collection:
            SkipCollectionItems(depth);
            return;
        }
        reader_.Fail("unknown value type " + std::to_string(type), at);
    }

    // Before each item of a collection: an optional integer, then the
    // list start. Returns false at the collection's end.
    bool NextItem()
    {
        if (EndMarker())
            return false;
        std::size_t at = reader_.Offset();
        std::uint8_t type = reader_.U8("a collection item");
        if (IsInteger(type)) {
            IntegerOfType(type, "a collection item's index", at);
            at = reader_.Offset();
            type = reader_.U8("a collection item");
        }
        if (type != static_cast<std::uint8_t>(ValueType::List))
            reader_.Fail("a collection item does not start with a list (value type " + std::to_string(type) + ")",
                         at);
        return true;
    }

    void SkipCollectionItems(int depth)
    {
        while (NextItem()) {
            while (!EndMarker()) {
                ShortString("a property name");
                SkipValue(depth + 1);
            }
        }
    }

    void ReadSoundCollection(int depth, std::size_t nameAt)
    {
        std::uint8_t type = reader_.U8("the value of \"List\"");
        if (type != static_cast<std::uint8_t>(ValueType::Collection))
            reader_.Fail("\"List\" is not a collection (value type " + std::to_string(type) + ")", nameAt);
        while (NextItem()) {
            SoundRecord sound;
            while (!EndMarker())
                ReadSoundProperty(sound, depth + 1);
            sounds_.push_back(std::move(sound));
        }
    }

    void ReadSoundProperty(SoundRecord& sound, int depth)
    {
        std::string name = ShortString("a property name");
        if (SameName(name, "Name")) {
            sound.name = ReadString("the value of \"Name\"");
        } else if (SameName(name, "Looped")) {
            std::size_t at = reader_.Offset();
            std::uint8_t type = reader_.U8("the value of \"Looped\"");
            sound.looped = type == static_cast<std::uint8_t>(ValueType::True);
            SkipValueOfType(type, depth, at);
        } else if (SameName(name, "MaxPlayingCount")) {
            sound.maxPlayingCount = std::max(0, ReadInteger("the value of \"MaxPlayingCount\""));
        } else if (SameName(name, "Wave.WAVE")) {
            std::size_t at = reader_.Offset();
            std::uint8_t type = reader_.U8("the value of \"Wave.WAVE\"");
            if (type != static_cast<std::uint8_t>(ValueType::Binary))
                reader_.Fail("\"Wave.WAVE\" is not binary data (value type " + std::to_string(type) + ")", at);
            std::uint32_t length = reader_.U32("the length of \"Wave.WAVE\"");
            std::size_t waveAt = reader_.Offset();
            auto bytes = reader_.Bytes(length, "the wave");
            // The wave's length is known, so the stream goes on after it.
            try {
                sound.wave = ParseWave(bytes, waveAt);
            } catch (const Error& error) {
                sound.damage = error.what();
            }
        } else {
            SkipValue(depth);
        }
    }

    ByteReader reader_;
    std::vector<SoundRecord> sounds_;
};

} // namespace

std::vector<SoundRecord> ReadSoundStream(std::span<const std::uint8_t> stream)
{
    return StreamReader(stream).Read();
}

} // namespace orbela
