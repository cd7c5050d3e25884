#include "DeviceList.h"

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

void DeviceList::keyPressEvent(QKeyEvent *event)
{
    const int before = selectedRow();
    QListWidget::keyPressEvent(event);
    const int after = selectedRow();
    if (after >= 0 && after != before)
        emit keyboardSelected();
}

}  // namespace kelvane
