// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A runtime over a real screen, a scripted dialog, recorded speech and a
// virtual clock.

#include <gtest/gtest.h>

#include <string>

#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/fakes.h"

namespace orbela::testing {

class RuntimeTest : public ::testing::Test {
protected:
    void PlaceCursor(int column, int row)
    {
        runtime.State().scrcursor.setx(static_cast<std::uint8_t>(column));
        runtime.State().scrcursor.sety(static_cast<std::uint8_t>(row));
    }
    int Column() const { return runtime.State().scrcursor.getx(); }
    int Row() const { return runtime.State().scrcursor.gety(); }
    const std::string& ScreenRow(int row) const { return screen.Row(row); }

    Screen screen;
    ScriptedDialog dialog;
    RecordingSpeech speech;
    VirtualClock clock;
    Runtime runtime{screen, dialog, speech, clock};
};

} // namespace orbela::testing
