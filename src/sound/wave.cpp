// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/wave.h"

#include <algorithm>
#include <string>

#include "text/error.h"
#include "sound/byte_reader.h"

namespace orbela {
namespace {

constexpr char WaveInvalid[] = "Wave is invalid";

std::uint16_t Le16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(Le16(bytes, at)) | static_cast<std::uint32_t>(Le16(bytes, at + 2)) << 16;
}

bool IsId(std::span<const std::uint8_t> bytes, const char (&id)[5])
{
    return std::equal(bytes.begin(), bytes.end(), id, id + 4,
                      [](std::uint8_t byte, char c) { return byte == static_cast<std::uint8_t>(c); });
}

bool AllZero(std::span<const std::uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte == 0; });
}

std::string ShownId(std::span<const std::uint8_t> id)
{
    std::string shown;
    for (std::uint8_t byte : id)
        shown += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '?';
    return shown;
}

} // namespace

std::optional<WaveFormat> Wave::Format() const
{
    if (formatRecord.size() < 16)
        return std::nullopt;
    WaveFormat format;
    format.formatTag = Le16(formatRecord, 0);
    format.channels = Le16(formatRecord, 2);
    format.samplesPerSec = Le32(formatRecord, 4);
    format.avgBytesPerSec = Le32(formatRecord, 8);
    format.blockAlign = Le16(formatRecord, 12);
    format.bitsPerSample = Le16(formatRecord, 14);
    return format;
}

std::size_t Wave::FrameCount() const
{
    auto format = Format();
    if (!format || format->blockAlign == 0)
        return 0;
    return samples.size() / format->blockAlign;
}

Wave ParseWave(std::span<const std::uint8_t> file, std::size_t fileOffset)
{
    if (file.size() < 12 || !IsId(file.subspan(0, 4), "RIFF") || !IsId(file.subspan(8, 4), "WAVE"))
        throw Error(WaveInvalid);

    ByteReader reader(file.subspan(12), WaveInvalid, fileOffset + 12);
    Wave wave;
    while (!reader.AtEnd()) {
        std::size_t chunkStart = reader.Offset();
        if (reader.Remaining() < 8) {
            // Trailing zero bytes read as a zero identifier: the end.
            if (AllZero(reader.Bytes(reader.Remaining(), "the rest")))
                break;
            reader.Fail("a chunk header is cut short", chunkStart);
        }
        auto id = reader.Bytes(4, "the chunk identifier");
        std::uint32_t size = reader.U32("the chunk size");
        if (AllZero(id))
            break;
        auto data = reader.Bytes(size, "the data of chunk \"" + ShownId(id) + "\"");
        if (IsId(id, "fmt "))
            wave.formatRecord.assign(data.begin(), data.end());
        else if (IsId(id, "data"))
            wave.samples.assign(data.begin(), data.end());
    }
    return wave;
}

} // namespace orbela
