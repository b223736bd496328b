// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/byte_reader.h"

#include "text/error.h"

namespace orbela {

void ByteReader::Fail(std::string_view problem, std::size_t offset) const
{
    throw Error(failure_ + ": " + std::string(problem) + " (at byte " + std::to_string(offset) + ")");
}

void ByteReader::Require(std::uint64_t count, std::string_view what) const
{
    if (count > Remaining())
        Fail(std::string(what) + " needs " + std::to_string(count) + (count == 1 ? " byte" : " bytes") +
             ", only " + std::to_string(Remaining()) + (Remaining() == 1 ? " is left" : " are left"));
}

std::uint8_t ByteReader::Peek(std::string_view what) const
{
    Require(1, what);
    return bytes_[position_];
}

std::uint8_t ByteReader::U8(std::string_view what)
{
    Require(1, what);
    return bytes_[position_++];
}

std::uint16_t ByteReader::U16(std::string_view what)
{
    Require(2, what);
    auto value = static_cast<std::uint16_t>(bytes_[position_] | bytes_[position_ + 1] << 8);
    position_ += 2;
    return value;
}

std::uint32_t ByteReader::U32(std::string_view what)
{
    Require(4, what);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes_[position_ + static_cast<std::size_t>(i)];
    position_ += 4;
    return value;
}

std::span<const std::uint8_t> ByteReader::Bytes(std::uint64_t count, std::string_view what)
{
    Require(count, what);
    auto piece = bytes_.subspan(position_, static_cast<std::size_t>(count));
    position_ += static_cast<std::size_t>(count);
    return piece;
}

} // namespace orbela
