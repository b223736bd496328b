// SPDX-License-Identifier: GPL-3.0-or-later
#include "hosted/kvaldor_text.h"

#include <map>

#include "text/cp1250.h"

namespace orbela::kvaldor {

const std::string& Cp1250(std::string_view utf8)
{
    static std::map<std::string, std::string, std::less<>> converted;
    auto found = converted.find(utf8);
    if (found == converted.end())
        found = converted.emplace(std::string(utf8), Utf8ToCp1250(utf8)).first;
    return found->second;
}

} // namespace orbela::kvaldor
