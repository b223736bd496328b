// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/runtime.h"

#include <cmath>

#include "runtime/clock.h"

namespace orbela {

Runtime::Runtime(Screen& screen, InputDialog& dialog, SpeechOutput& speech, Clock& clock)
    : screen_(screen), dialog_(dialog), speech_(&speech), clock_(clock)
{
}

void Runtime::ResetRuntime()
{
    state_.pendinginput.clear();
    state_.sndwaveset = 1;
    state_.sndduration = 1;
    // The row stays: a new run prints below what the last one left.
    state_.scrcursor.setx(0);
}

std::uint8_t Runtime::Peek(double address) const
{
    const double whole = std::trunc(address);
    // Also false for NaN. An address off the image reads as 0 rather than
    // reaching outside it.
    if (!(whole >= 0.0 && whole < static_cast<double>(RamImageSize)))
        return 0;
    return state_.ramimage[static_cast<std::size_t>(whole)];
}

void Runtime::Sleep(std::chrono::milliseconds duration)
{
    if (duration <= std::chrono::milliseconds::zero())
        return;
    clock_.Sleep(duration);
}

} // namespace orbela
