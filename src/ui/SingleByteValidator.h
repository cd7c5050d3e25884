// SPDX-License-Identifier: Apache-2.0
// Keeps out of a text box every character that a write could not send as one byte.
#pragma once

#include <QValidator>

namespace kelvane {

class SingleByteValidator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    // Typing and pasting are refused whole when any character lies above U+00FF.
    State validate(QString &input, int &pos) const override;
};

}  // namespace kelvane
