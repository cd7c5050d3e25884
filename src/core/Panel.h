// SPDX-License-Identifier: Apache-2.0
// The narrow face of the window that the operations use: controls by name,
// the device list and the status pane. The window implements it with widgets,
// HeadlessPanel with plain values.
#pragma once

#include "Control.h"

#include <QString>
#include <QStringList>

namespace kelvane {

class Panel {
public:
    virtual ~Panel() = default;

    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual bool isEnabled(Control control) const = 0;

    // Combo boxes. No selection reads as -1.
    virtual void addItems(Control combo, const QStringList &items) = 0;
    virtual int selectedIndex(Control combo) const = 0;
    // Selects an item; -1 clears the selection. False, and nothing changes,
    // for an index the list does not hold.
    virtual bool selectIndex(Control combo, int index) = 0;

    // Text boxes, and the shown text of combo boxes (setting a combo box's
    // text to "" leaves it with no selection).
    virtual QString text(Control control) const = 0;
    virtual void setText(Control control, const QString &text) = 0;

    // Option buttons.
    virtual bool isChecked(Control option) const = 0;
    virtual void setChecked(Control option, bool checked) = 0;

    // Device_List: one item per DeviceTable entry, in the same order.
    virtual void appendDevice(const QString &itemText) = 0;
    virtual void removeDevice(int row) = 0;
    virtual int deviceRowCount() const = 0;
    virtual QString deviceText(int row) const = 0;
    virtual int selectedDeviceRow() const = 0;  // -1 when nothing is selected
    // What hovering the item shows (lines of plain text), and whether it is
    // marked as having a warning; its text stays as it is.
    virtual void setDeviceDetails(int row, const QString &toolTip, bool warned) = 0;

    // Help_Text. Entries are joined by CR LF; appendLog adds the CR LF itself.
    virtual QString logText() const = 0;
    virtual void replaceLog(const QString &text) = 0;
    virtual void appendLog(const QString &entry) = 0;

    // DISP_IP, and its tooltip: the network cards in use.
    virtual void setAddressDisplay(const QString &text, const QString &toolTip) = 0;

    // A message box with its OK button, waited for.
    virtual void showMessage(const QString &title, const QString &text) = 0;
    // A Yes/No question whose default answer is No; true for Yes.
    virtual bool askYesNo(const QString &title, const QString &text) = 0;
};

}  // namespace kelvane
