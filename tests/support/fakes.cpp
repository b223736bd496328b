// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fakes.h"

#include "text/cp1250.h"

namespace orbela::testing {

void ScriptedDialog::ConfirmUtf8(std::string_view utf8Line)
{
    Confirm(Cp(utf8Line));
}

int ScriptedDialog::ShowModal()
{
    ++shown_;
    if (onShow_)
        onShow_();
    if (answers_.empty())
        throw ScriptExhausted();
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    field_ = std::move(answer.text);
    return answer.result;
}

std::string Cp(std::string_view utf8)
{
    return Utf8ToCp1250(utf8);
}

std::string Utf(std::string_view cp1250)
{
    return Cp1250ToUtf8(cp1250);
}

} // namespace orbela::testing
