// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps out of a field every text that the runtime's code page cannot hold,
// so that what the user typed reaches the hosted program unchanged.

#include <QValidator>

namespace orbela {

class Cp1250Validator final : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace orbela
