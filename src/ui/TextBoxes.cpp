// SPDX-License-Identifier: Apache-2.0
#include "TextBoxes.h"

#include <QLineEdit>
#include <QVariant>

#include <algorithm>

namespace kelvane::textbox {

namespace {
const char *const LimitProperty = "typingLimit";

// QLineEdit cuts its text to maxLength, so while the text is longer than the
// limit, maxLength is the text's length.
void followLength(QLineEdit &box)
{
    const int wanted = std::max(box.property(LimitProperty).toInt(), int(box.text().size()));
    if (box.maxLength() != wanted)
        box.setMaxLength(wanted);
}
}  // namespace

void prepare(QLineEdit &box, const QValidator *validator)
{
    box.setProperty(LimitProperty, box.maxLength());
    box.setValidator(validator);
    QObject::connect(&box, &QLineEdit::textEdited, &box, [&box] { followLength(box); });
}

void setText(QLineEdit &box, const QString &text)
{
    box.setMaxLength(std::max(box.property(LimitProperty).toInt(), int(text.size())));
    box.setText(text);
    followLength(box);
}

}  // namespace kelvane::textbox
