// SPDX-License-Identifier: Apache-2.0
#include "ComboBoxes.h"

#include <QComboBox>
#include <QLineEdit>

namespace kelvane::combo {

void prepare(QComboBox &box)
{
    box.setCompleter(nullptr);
    box.setInsertPolicy(QComboBox::NoInsert);
    // QComboBox keeps its old index while the user types; the wire needs the
    // index of what is shown, and -1 for text that is no item.
    QObject::connect(box.lineEdit(), &QLineEdit::textEdited, &box, [&box](const QString &typed) {
        const int match = box.findText(typed);
        if (match == box.currentIndex())
            return;
        QLineEdit *edit = box.lineEdit();
        const int cursor = edit->cursorPosition();
        box.setCurrentIndex(match);
        if (match < 0) {
            box.setEditText(typed);
            edit->setCursorPosition(cursor);
        }
    });
}

void addItems(QComboBox &box, const QStringList &items)
{
    const int index = box.currentIndex();
    const QString text = box.currentText();
    box.addItems(items);
    if (box.currentIndex() != index) {
        box.setCurrentIndex(index);
        box.setEditText(text);
    }
}

bool select(QComboBox &box, int index)
{
    if (index < -1 || index >= box.count())
        return false;
    // -1 also empties the edit text, typed text included.
    box.setCurrentIndex(index);
    return true;
}

void setText(QComboBox &box, const QString &text)
{
    box.setCurrentIndex(box.findText(text));
    box.setEditText(text);
}

}  // namespace kelvane::combo
