// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/key_state.h"

namespace orbela {
namespace {

bool InRange(int virtualKey, int count)
{
    return virtualKey >= 0 && virtualKey < count;
}

} // namespace

bool IsModifierKey(int virtualKey)
{
    constexpr int Shift = 16;
    constexpr int Control = 17;
    constexpr int Alt = 18;
    constexpr int CapsLock = 20;
    constexpr int Insert = 45;
    switch (virtualKey) {
    case Shift:
    case Control:
    case Alt:
    case CapsLock:
    case Insert: return true;
    default: return false;
    }
}

void KeyStateTable::KeyPressed(int virtualKey)
{
    repeatedPress_ = IsDown(virtualKey);
    if (InRange(virtualKey, KeyCount))
        down_.set(static_cast<std::size_t>(virtualKey));
}

void KeyStateTable::KeyReleased(int virtualKey, bool autoRepeat)
{
    repeatedPress_ = false;
    if (!autoRepeat && InRange(virtualKey, KeyCount))
        down_.reset(static_cast<std::size_t>(virtualKey));
}

bool KeyStateTable::IsDown(int virtualKey) const
{
    return InRange(virtualKey, KeyCount) && down_.test(static_cast<std::size_t>(virtualKey));
}

} // namespace orbela
