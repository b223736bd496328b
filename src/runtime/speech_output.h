// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part of the speech service that the output statement uses. The
// speech service implements it; SilentSpeech stands in where no engine
// speaks.

#include <string_view>

namespace orbela {

class SpeechOutput {
public:
    virtual ~SpeechOutput() = default;
    // Speaks the Windows-1250 text and returns when the engine reports its
    // end (at once when nothing is to be spoken).
    virtual void SpeakAndWait(std::string_view cp1250Text) = 0;
};

class SilentSpeech final : public SpeechOutput {
public:
    void SpeakAndWait(std::string_view) override {}
};

} // namespace orbela
