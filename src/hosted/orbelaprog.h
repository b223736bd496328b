// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hosted program: the text adventure "kvaldor". Its one entry runs the
// whole game through the runtime statements and returns when it is over
// (won, or lost and not played again).

namespace orbela {

class Runtime;

void RunKvaldor(Runtime& runtime);

} // namespace orbela
