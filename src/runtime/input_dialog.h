// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data-entry dialog as the input statements see it.
//
// A caller may rely on: ClearField() empties the field and makes it the
// dialog's active control; ShowModal() returns only when the dialog has
// closed; FieldText() then gives what the field held at that moment.
// An implementation may end the process from inside ShowModal() (the
// dialog's end-program button); it never returns in that case.

#include <string>

namespace orbela {

// The modal result meaning that the user confirmed the line (OK or Enter).
inline constexpr int ModalResultOk = 1;

class InputDialog {
public:
    virtual ~InputDialog() = default;
    virtual void ClearField() = 0;
    virtual int ShowModal() = 0;
    // Windows-1250 text of the field.
    virtual std::string FieldText() const = 0;
};

} // namespace orbela
