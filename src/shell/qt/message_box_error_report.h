// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's default error report: a message box with the error's text.

#include "runtime/error_report.h"

class QWidget;

namespace orbela {

class MessageBoxErrorReport final : public ErrorReport {
public:
    void Report(std::string_view cp1250Message) override;
};

} // namespace orbela
