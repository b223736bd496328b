// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A cursor over bytes held in memory that never reads past its end. Every
// read checks what is left first; a short read raises Error with the
// reader's message, what was being read and the byte offset where it began.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orbela {

class ByteReader {
public:
    // `failure` opens every error message ("Invalid stream format");
    // `baseOffset` is added to offsets in messages, so that a reader over
    // part of a file reports places in the whole file.
    ByteReader(std::span<const std::uint8_t> bytes, std::string failure, std::size_t baseOffset = 0)
        : bytes_(bytes), failure_(std::move(failure)), baseOffset_(baseOffset)
    {
    }

    std::size_t Remaining() const { return bytes_.size() - position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }
    // Offset of the next byte in the whole file.
    std::size_t Offset() const { return baseOffset_ + position_; }

    std::uint8_t Peek(std::string_view what) const;
    std::uint8_t U8(std::string_view what);
    std::int8_t I8(std::string_view what) { return static_cast<std::int8_t>(U8(what)); }
    std::uint16_t U16(std::string_view what);
    std::int16_t I16(std::string_view what) { return static_cast<std::int16_t>(U16(what)); }
    std::uint32_t U32(std::string_view what);
    std::int32_t I32(std::string_view what) { return static_cast<std::int32_t>(U32(what)); }
    // The next `count` bytes, without copying them.
    std::span<const std::uint8_t> Bytes(std::uint64_t count, std::string_view what);
    void Skip(std::uint64_t count, std::string_view what) { Bytes(count, what); }

    // Raises the reader's error about what was found at `offset` (an offset
    // in the whole file, as Offset() gives).
    [[noreturn]] void Fail(std::string_view problem, std::size_t offset) const;
    [[noreturn]] void Fail(std::string_view problem) const { Fail(problem, Offset()); }

private:
    void Require(std::uint64_t count, std::string_view what) const;

    std::span<const std::uint8_t> bytes_;
    std::string failure_;
    std::size_t baseOffset_;
    std::size_t position_ = 0;
};

} // namespace orbela
