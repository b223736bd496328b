// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one error type of the core. Its text is Windows-1250, like every text
// inside the runtime; the front-ends convert it when they show it.

#include <stdexcept>
#include <string>

namespace orbela {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& cp1250Message) : std::runtime_error(cp1250Message) {}
};

} // namespace orbela
