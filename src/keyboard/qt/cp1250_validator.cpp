// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/qt/cp1250_validator.h"

#include "text/cp1250.h"

namespace orbela {

QValidator::State Cp1250Validator::validate(QString& input, int&) const
{
    return TryUtf8ToCp1250(input.toStdString()) ? Acceptable : Invalid;
}

} // namespace orbela
