// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/field_keys.h"

#include "keyboard/field_echo.h"
#include "keyboard/key_state.h"
#include "keyboard/word_reading.h"
#include "speech/speech_service.h"

namespace orbela {

std::optional<int> FieldKeys::KeyDown(const Key& key, const std::string& typed, const std::string& text, int caret)
{
    const int code = key.virtualKey;
    if (speech_ && speech_->KeyStopsSpeech(IsModifierKey(code)))
        speech_->StopSpeech();
    echo_.KeyDown(code, key.alt, typed, text, caret);
    if ((code == VirtualKey::Up || code == VirtualKey::Down) && !key.alt && commands_.openReview)
        commands_.openReview();
    if (code == VirtualKey::F4 && key.alt && commands_.endProgram)
        commands_.endProgram();
    if ((code == VirtualKey::Left || code == VirtualKey::Right) && key.ctrl && !key.shift) {
        const auto at = static_cast<std::size_t>(caret);
        return static_cast<int>(code == VirtualKey::Right ? NextWordStart(text, at) : PreviousWordStart(text, at));
    }
    return std::nullopt;
}

} // namespace orbela
