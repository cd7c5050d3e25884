// SPDX-License-Identifier: Apache-2.0
// The editable combo boxes as the operations see them: an item list, a selected
// index that is -1 whenever the shown text is not an item, and a free text.
#pragma once

#include <QStringList>

class QComboBox;

namespace kelvane::combo {

// No completion and no inserted items; typed text keeps the index in step.
void prepare(QComboBox &box);
// Appends without selecting anything, unlike QComboBox on an empty list.
void addItems(QComboBox &box, const QStringList &items);
// -1 clears the selection and the text; false for an index the list lacks.
bool select(QComboBox &box, int index);
// Selects the item with this text, or none.
void setText(QComboBox &box, const QString &text);

}  // namespace kelvane::combo
