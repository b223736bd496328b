// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds object streams and wave files byte by byte, so that reader tests can
// write every variant of the format, valid or not.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orbela::testing {

class Bytes {
public:
    Bytes& U8(std::uint8_t value)
    {
        data.push_back(value);
        return *this;
    }
    Bytes& U16(std::uint16_t value) { return U8(static_cast<std::uint8_t>(value)).U8(static_cast<std::uint8_t>(value >> 8)); }
    Bytes& U32(std::uint32_t value)
    {
        return U16(static_cast<std::uint16_t>(value)).U16(static_cast<std::uint16_t>(value >> 16));
    }
    Bytes& Text(std::string_view text)
    {
        data.insert(data.end(), text.begin(), text.end());
        return *this;
    }
    Bytes& Raw(std::span<const std::uint8_t> bytes)
    {
        data.insert(data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // A length byte and the characters: class, object and property names.
    Bytes& Name(std::string_view text) { return U8(static_cast<std::uint8_t>(text.size())).Text(text); }

    // Values, each with its type byte.
    Bytes& Int8(std::int8_t value) { return U8(2).U8(static_cast<std::uint8_t>(value)); }
    Bytes& Int16(std::int16_t value) { return U8(3).U16(static_cast<std::uint16_t>(value)); }
    Bytes& Int32(std::int32_t value) { return U8(4).U32(static_cast<std::uint32_t>(value)); }
    Bytes& String(std::string_view text) { return U8(6).Name(text); }
    Bytes& LongString(std::string_view text) { return U8(12).U32(static_cast<std::uint32_t>(text.size())).Text(text); }
    Bytes& WideString(std::u16string_view text)
    {
        U8(18).U32(static_cast<std::uint32_t>(text.size()));
        for (char16_t unit : text)
            U16(static_cast<std::uint16_t>(unit));
        return *this;
    }
    Bytes& Utf8String(std::string_view utf8) { return U8(20).U32(static_cast<std::uint32_t>(utf8.size())).Text(utf8); }
    Bytes& False() { return U8(8); }
    Bytes& True() { return U8(9); }
    Bytes& Binary(std::span<const std::uint8_t> bytes)
    {
        return U8(10).U32(static_cast<std::uint32_t>(bytes.size())).Raw(bytes);
    }
    Bytes& End() { return U8(0); }

    // "TPF0", the class name and the object name.
    Bytes& Header() { return Text("TPF0").Name("TWaveCollectionComponent").Name("sounds"); }
    // The root's "List" property up to its first item.
    Bytes& ListStart() { return Name("List").U8(14); }
    Bytes& ItemStart() { return U8(1); }
    // The ends of the collection, the root's properties and its children.
    Bytes& Footer() { return End().End().End(); }

    std::vector<std::uint8_t> data;
};

// A 16-byte PCM format record, or a longer one with its extra-size field.
inline std::vector<std::uint8_t> PcmFormat(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits,
                                           bool withExtraSize = false)
{
    auto blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    Bytes format;
    format.U16(1).U16(channels).U32(rate).U32(rate * blockAlign).U16(blockAlign).U16(bits);
    if (withExtraSize)
        format.U16(0);
    return format.data;
}

using Chunk = std::pair<std::string, std::vector<std::uint8_t>>;

// "RIFF", the size, "WAVE" and the chunks as given, without padding.
inline std::vector<std::uint8_t> WaveFile(std::initializer_list<Chunk> chunks)
{
    Bytes body;
    for (const auto& [id, data] : chunks)
        body.Text(id).U32(static_cast<std::uint32_t>(data.size())).Raw(data);
    Bytes file;
    file.Text("RIFF").U32(static_cast<std::uint32_t>(body.data.size() + 4)).Text("WAVE").Raw(body.data);
    return file.data;
}

inline std::vector<std::uint8_t> MonoWave(std::vector<std::uint8_t> samples, std::uint32_t rate = 22050)
{
    return WaveFile({{"fmt ", PcmFormat(rate, 1, 16)}, {"data", std::move(samples)}});
}

} // namespace orbela::testing
