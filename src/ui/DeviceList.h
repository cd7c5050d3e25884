// SPDX-License-Identifier: Apache-2.0
// Device_List: a single-selection list that tells when the operator chose a module.
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
    // The operator chose the highlighted module: a click on it (also when it
    // was highlighted already), a press on one row released on another, or a
    // key that moved the highlight. One press and release make one choice.
    void chosen();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_rowAtPress = -1;
};

}  // namespace kelvane
