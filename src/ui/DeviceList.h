// Device_List: a single-selection list that tells when the keyboard chose an item.
#pragma once

#include <QListWidget>

namespace kelvane {

class DeviceList final : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

    int selectedRow() const;  // -1 when nothing is selected
    // Removes an item; what was selected stays selected, and nothing else gets selected.
    void removeRow(int row);

signals:
    // A key moved the selection to another item. Mouse clicks come as itemClicked.
    void keyboardSelected();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

}  // namespace kelvane
