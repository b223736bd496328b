// SPDX-License-Identifier: GPL-3.0-or-later
#include "object_stream_writer.h"

#include <limits>
#include <stdexcept>
#include <string_view>

namespace orbela::authoring {
namespace {

class Bytes {
public:
    void U8(std::uint8_t value) { out_.push_back(value); }
    void U16(std::uint16_t value)
    {
        U8(static_cast<std::uint8_t>(value));
        U8(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value)
    {
        U16(static_cast<std::uint16_t>(value));
        U16(static_cast<std::uint16_t>(value >> 16));
    }
    void Text(std::string_view text) { out_.insert(out_.end(), text.begin(), text.end()); }
    void Raw(std::span<const std::uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void ShortString(std::string_view text)
    {
        if (text.size() > 255)
            throw std::length_error("a name longer than 255 bytes: " + std::string(text));
        U8(static_cast<std::uint8_t>(text.size()));
        Text(text);
    }
    std::vector<std::uint8_t> Take() { return std::move(out_); }

private:
    std::vector<std::uint8_t> out_;
};

// Value types of the stream.
constexpr std::uint8_t EndOfList = 0;
constexpr std::uint8_t ListStart = 1;
constexpr std::uint8_t Int8 = 2;
constexpr std::uint8_t Int32 = 4;
constexpr std::uint8_t String = 6;
constexpr std::uint8_t False = 8;
constexpr std::uint8_t True = 9;
constexpr std::uint8_t Binary = 10;
constexpr std::uint8_t Collection = 14;

std::uint32_t Size32(std::size_t size)
{
    if (size > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("more than 4 GiB in one value");
    return static_cast<std::uint32_t>(size);
}

} // namespace

std::vector<std::uint8_t> MonoWaveFile(std::uint32_t rate, std::span<const std::int16_t> samples)
{
    const std::uint32_t dataSize = Size32(samples.size() * 2);
    Bytes out;
    out.Text("RIFF");
    out.U32(4 + 8 + 16 + 8 + dataSize);
    out.Text("WAVE");
    out.Text("fmt ");
    out.U32(16);
    out.U16(1);         // PCM
    out.U16(1);         // mono
    out.U32(rate);
    out.U32(rate * 2);  // bytes a second
    out.U16(2);         // bytes a frame
    out.U16(16);        // bits a sample
    out.Text("data");
    out.U32(dataSize);
    for (std::int16_t sample : samples)
        out.U16(static_cast<std::uint16_t>(sample));
    return out.Take();
}

std::vector<std::uint8_t> WriteSoundList(const std::vector<AuthoredSound>& sounds)
{
    Bytes out;
    out.Text("TPF0");
    out.ShortString("TWaveCollectionComponent");
    out.ShortString("Sounds");
    out.ShortString("List");
    out.U8(Collection);
    for (const AuthoredSound& sound : sounds) {
        out.U8(ListStart);
        out.ShortString("Name");
        out.U8(String);
        out.ShortString(sound.name);
        out.ShortString("Looped");
        out.U8(sound.looped ? True : False);
        out.ShortString("MaxPlayingCount");
        if (sound.maxPlayingCount >= -128 && sound.maxPlayingCount <= 127) {
            out.U8(Int8);
            out.U8(static_cast<std::uint8_t>(sound.maxPlayingCount));
        } else {
            out.U8(Int32);
            out.U32(static_cast<std::uint32_t>(sound.maxPlayingCount));
        }
        out.ShortString("Wave.WAVE");
        out.U8(Binary);
        out.U32(Size32(sound.waveFile.size()));
        out.Raw(sound.waveFile);
        out.U8(EndOfList);  // the item's properties
    }
    out.U8(EndOfList);  // the collection
    out.U8(EndOfList);  // the root's properties
    out.U8(EndOfList);  // the root's children
    return out.Take();
}

} // namespace orbela::authoring
