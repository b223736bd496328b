// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ctrl+C, a closed terminal or a polite kill end the program as its exit
// command does: the memory image is written first.

#include "runtime/runtime_state.h"

namespace orbela {

// The image must live until the process ends.
void InstallTerminationSignals(const RamImage& image);

} // namespace orbela
