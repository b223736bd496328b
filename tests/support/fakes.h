// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stand-ins for the world around the core: a data-entry dialog that answers
// from a script, a speech output that records, an error report that records.

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/error_report.h"
#include "runtime/input_dialog.h"
#include "runtime/speech_output.h"

namespace orbela::testing {

// Thrown by ScriptedDialog when the script has no answer left, so that a
// test of a whole game ends where its script ends.
struct ScriptExhausted : std::runtime_error {
    ScriptExhausted() : std::runtime_error("the dialog script has no answer left") {}
};

class ScriptedDialog final : public InputDialog {
public:
    // Each line is confirmed with OK; text is Windows-1250.
    void Confirm(std::string cp1250Line) { answers_.push_back({ModalResultOk, std::move(cp1250Line)}); }
    // Types the line (UTF-8 in the test source) and confirms it.
    void ConfirmUtf8(std::string_view utf8Line);
    // Closes the dialog without confirming, leaving the typed text in the field.
    void Cancel(std::string cp1250Line = {}) { answers_.push_back({0, std::move(cp1250Line)}); }
    // Called each time the dialog opens, before it answers: a test notes the
    // game's state as the player would see it.
    void OnShow(std::function<void()> observer) { onShow_ = std::move(observer); }

    void ClearField() override
    {
        field_.clear();
        ++clears_;
    }
    int ShowModal() override;
    std::string FieldText() const override { return field_; }

    int Shown() const { return shown_; }
    int Clears() const { return clears_; }
    std::size_t Left() const { return answers_.size(); }

private:
    struct Answer {
        int result;
        std::string text;
    };
    std::deque<Answer> answers_;
    std::function<void()> onShow_;
    std::string field_;
    int shown_ = 0;
    int clears_ = 0;
};

class RecordingSpeech final : public SpeechOutput {
public:
    void SpeakAndWait(std::string_view cp1250Text) override { spoken.emplace_back(cp1250Text); }
    std::vector<std::string> spoken;
};

class RecordingErrorReport final : public ErrorReport {
public:
    void Report(std::string_view cp1250Message) override { messages.emplace_back(cp1250Message); }
    std::vector<std::string> messages;
};

// UTF-8 test text to Windows-1250, failing the test's assumptions loudly.
std::string Cp(std::string_view utf8);
// Windows-1250 to UTF-8, for readable failure messages.
std::string Utf(std::string_view cp1250);

} // namespace orbela::testing
