// SPDX-License-Identifier: Apache-2.0
#include "DeviceList.h"

#include <QMouseEvent>

namespace kelvane {

int DeviceList::selectedRow() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void DeviceList::removeRow(int row)
{
    const int selected = selectedRow();
    QListWidgetItem *keep = selected == row ? nullptr : item(selected);
    // The view hands the current item and selection to a neighbour when the
    // current one goes; a list with no module chosen must stay that way.
    delete takeItem(row);
    if (keep) {
        setCurrentItem(keep, QItemSelectionModel::ClearAndSelect);
    } else {
        clearSelection();
        setCurrentRow(-1, QItemSelectionModel::Clear);
    }
}

void DeviceList::mousePressEvent(QMouseEvent *event)
{
    m_rowAtPress = selectedRow();
    QListWidget::mousePressEvent(event);
}

void DeviceList::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    const int row = selectedRow();
    if (row < 0 || event->button() != Qt::LeftButton)
        return;
    // A drag moves the highlight without a click on any one item; whatever
    // ends highlighted is the module, so SelectedDevice follows it.
    const QListWidgetItem *released = itemAt(event->position().toPoint());
    if (row != m_rowAtPress || (released && this->row(released) == row))
        emit chosen();
}

void DeviceList::keyPressEvent(QKeyEvent *event)
{
    const int before = selectedRow();
    QListWidget::keyPressEvent(event);
    const int after = selectedRow();
    if (after >= 0 && after != before)
        emit chosen();
}

}  // namespace kelvane
