// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small helpers shared by the adventure's game tests.

#include <cstddef>
#include <string>
#include <vector>

#include "hosted/kvaldor_world.h"

namespace orbela::testing {

inline double Value(const kvaldor::Variables& variables, kvaldor::Var var)
{
    return variables[static_cast<std::size_t>(var)];
}

// The flags as every game starts, written out by name.
inline kvaldor::Variables ExpectedStart()
{
    using kvaldor::Var;
    kvaldor::Variables values{};
    for (Var var : {Var::liquidator, Var::taxifare, Var::binfull, Var::benchbottle, Var::doghungry, Var::catangry,
                    Var::chestclosed, Var::leaderwaiting, Var::crowdsearching, Var::copiersidle, Var::printersidle,
                    Var::doorlocked, Var::cupboardclosed})
        values[static_cast<std::size_t>(var)] = 1;
    return values;
}

inline const std::vector<std::string> TaxiDescription = {
    "sedíš na zadním sedadle u chodníku stojícího taxiku. za volantem sedí taxikář.",
    "lze jít směrem východ, západ",
};

inline std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace orbela::testing
