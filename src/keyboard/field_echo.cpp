// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/field_echo.h"

#include "i18n/interface_strings.h"
#include "i18n/resource_localizer.h"
#include "keyboard/key_state.h"
#include "keyboard/word_reading.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "speech/speech_service.h"

namespace orbela {
namespace {

// The click played for the editing and caret keys.
constexpr double EditClick = 2;

} // namespace

void FieldEcho::KeyDown(int virtualKey, bool alt, const std::string& typed, const std::string& text, int caret)
{
    if (virtualKey == VirtualKey::Backspace) {
        Click();
        if (caret == 0)
            Beep();
        else
            Character(text.substr(caret - 1, 1));
    } else if (virtualKey == VirtualKey::Delete) {
        Click();
        if (caret < static_cast<int>(text.size()))
            Character(text.substr(caret, 1));
        else
            Beep();
    } else if (virtualKey == VirtualKey::Up && alt) {
        WholeField(text);
    } else {
        Character(typed);
    }
}

void FieldEcho::KeyUp(int virtualKey, bool ctrl, const std::string& text, int caret)
{
    const auto length = static_cast<int>(text.size());
    if (virtualKey == VirtualKey::Left) {
        if (!text.empty()) {
            if (ctrl)
                Text(wordat(text, caret));
            else
                Character(text.substr(caret, 1));
        } else {
            dialogedge_ = true;
        }
        if (caret > 0)
            dialogedge_ = false;
        else if (!dialogedge_)
            dialogedge_ = true;
        else
            BeepAfterEcho();
    } else if (virtualKey == VirtualKey::Right) {
        if (ctrl && caret < length)
            Text(wordat(text, caret));
        else
            CaretReached(text, caret);
    } else if (virtualKey == VirtualKey::Home) {
        Character(text.substr(0, 1));
    } else if (virtualKey == VirtualKey::End) {
        Click();
        Beep();
    }
}

void FieldEcho::CaretReached(const std::string& text, int caret)
{
    if (caret < static_cast<int>(text.size())) {
        dialogedge_ = false;
        Character(text.substr(caret, 1));
    } else if (!dialogedge_) {
        dialogedge_ = true;
        Click();
    } else {
        Click();
        Beep();
    }
}

void FieldEcho::WholeField(const std::string& text)
{
    Text(text.empty() ? LoadLanguageString(language_, InterfaceString::EmptyLine) : text);
}

// Beside a screen reader the field's keys and text are its to say.
void FieldEcho::Character(const std::string& cp1250Text)
{
    if (speech_)
        speech_->SpeakCharacter(Utterance::FieldEcho, cp1250Text);
}

void FieldEcho::ChordCharacter(const std::string& cp1250Text)
{
    if (speech_)
        speech_->SpeakCharacter(Utterance::ChordCharacter, cp1250Text.substr(0, 1));
}

void FieldEcho::Text(const std::string& cp1250Text)
{
    if (speech_)
        speech_->EchoText(Utterance::FieldEcho, cp1250Text);
}

void FieldEcho::Beep()
{
    if (runtime_)
        runtime_->Beep();
}

void FieldEcho::BeepAfterEcho()
{
    // The beep follows the speech queued before it, as it followed the wait
    // for that speech.
    if (speech_)
        speech_->AfterEcho([this] { Beep(); });
    else
        Beep();
}

void FieldEcho::Click()
{
    if (runtime_)
        runtime_->Click(EditClick);
}

std::string LastPrintedRow(const Screen& screen)
{
    for (int row = Screen::Rows - 1; row >= 0; --row) {
        const std::string& text = screen.Row(row);
        const std::size_t end = text.find_last_not_of(' ');
        if (end != std::string::npos)
            return text.substr(0, end + 1);
    }
    return {};
}

} // namespace orbela
