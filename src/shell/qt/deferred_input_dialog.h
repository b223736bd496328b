// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The runtime is made before the windows, but the data-entry dialog is
// created after the main window; this forwards to it once it exists.

#include <cassert>

#include "runtime/input_dialog.h"

namespace orbela {

class DeferredInputDialog final : public InputDialog {
public:
    void Attach(InputDialog& dialog) { dialog_ = &dialog; }

    void ClearField() override { Target().ClearField(); }
    int ShowModal() override { return Target().ShowModal(); }
    std::string FieldText() const override { return Target().FieldText(); }

private:
    InputDialog& Target() const
    {
        assert(dialog_ && "the data-entry dialog is used before it was created");
        return *dialog_;
    }

    InputDialog* dialog_ = nullptr;
};

} // namespace orbela
