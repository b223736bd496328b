// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The screen cursor. Column 0..80 (80: the row is full, the next output
// starts on the next row), row 0..23. The setters store the value as given,
// without range checks, as the output statement expects.

#include <cstdint>

namespace orbela {

class tscrcursor {
public:
    void setx(std::uint8_t value) { x_ = value; }
    void sety(std::uint8_t value) { y_ = value; }
    std::uint8_t getx() const { return x_; }
    std::uint8_t gety() const { return y_; }

private:
    std::uint8_t x_ = 0;
    std::uint8_t y_ = 0;
};

} // namespace orbela
