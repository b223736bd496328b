// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/chord_keyboard.h"

#include <array>

#include "keyboard/braille_table.h"

namespace orbela {
namespace {

struct DotKey {
    char dot;
    int virtualKey;
};

constexpr std::array<DotKey, 6> DotKeys{{
    {'1', VirtualKey::F},
    {'2', VirtualKey::D},
    {'3', VirtualKey::S},
    {'4', VirtualKey::J},
    {'5', VirtualKey::K},
    {'6', VirtualKey::L},
}};

} // namespace

std::string ReadChord(const KeyState& keys)
{
    std::string pattern;
    for (const DotKey& key : DotKeys) {
        if (keys.IsDown(key.virtualKey))
            pattern += key.dot;
    }
    if (pattern.empty() && keys.IsDown(VirtualKey::Space))
        pattern.push_back(' ');
    return pattern;
}

std::string ChordKeyboard::ChordKeyPressed(const KeyState& keys)
{
    dotpattern_ = ReadChord(keys);
    table_.activeprefix = dialogprefix_;
    return table_.TranslateChord(dotpattern_);
}

std::string ChordKeyboard::ChordKeyReleased(KeyRelease release)
{
    if (release == KeyRelease::AutoRepeat)
        return {};
    table_.activeprefix = dialogprefix_;
    std::string text = table_.TranslateChord(dotpattern_);
    dialogprefix_ = table_.activeprefix;
    dotpattern_.clear();
    return text;
}

std::string ChordKeyboard::ChordTyped(std::string_view pattern)
{
    dotpattern_ = pattern;
    return ChordKeyReleased(KeyRelease::Real);
}

} // namespace orbela
