// SPDX-License-Identifier: Apache-2.0
// A Panel of plain values, for tests, the fuzzer and benchmarks: the window without widgets.
#pragma once

#include "core/Panel.h"

#include <QHash>
#include <QSet>

namespace kelvane {

class HeadlessPanel final : public Panel {
public:
    void setEnabled(Control control, bool enabled) override
    {
        if (enabled)
            m_disabled.remove(control);
        else
            m_disabled.insert(control);
    }
    bool isEnabled(Control control) const override { return !m_disabled.contains(control); }

    void addItems(Control combo, const QStringList &items) override { m_items[combo] += items; }
    int selectedIndex(Control combo) const override { return m_selected.value(combo, -1); }
    bool selectIndex(Control combo, int index) override
    {
        const QStringList &items = m_items[combo];
        if (index < -1 || index >= items.size())
            return false;
        m_selected[combo] = index;
        m_texts[combo] = index < 0 ? QString() : items.at(index);
        return true;
    }

    QString text(Control control) const override { return m_texts.value(control); }
    void setText(Control control, const QString &text) override
    {
        m_texts[control] = text;
        // A combo box selects the item whose text is typed, and none otherwise.
        if (m_items.contains(control))
            m_selected[control] = int(m_items[control].indexOf(text));
    }

    bool isChecked(Control option) const override { return m_checked.contains(option); }
    // The three start-mode buttons are one group: checking one clears the others.
    void setChecked(Control option, bool checked) override
    {
        if (checked)
            m_checked = {option};
        else
            m_checked.remove(option);
    }

    void appendDevice(const QString &itemText) override { m_devices.append(itemText); }
    void removeDevice(int row) override
    {
        m_devices.removeAt(row);
        if (row == m_selectedDevice)
            m_selectedDevice = -1;
        else if (row < m_selectedDevice)
            --m_selectedDevice;
    }
    int deviceRowCount() const override { return int(m_devices.size()); }
    QString deviceText(int row) const override { return m_devices.value(row); }
    int selectedDeviceRow() const override { return m_selectedDevice; }
    // What a click in the list does first.
    void selectDeviceRow(int row) { m_selectedDevice = (row >= 0 && row < deviceRowCount()) ? row : -1; }
    // The window's tooltips and warning icons: checked on MainForm (tst_checks).
    void setDeviceDetails(int, const QString &, bool) override {}

    QString logText() const override { return m_log; }
    void replaceLog(const QString &text) override { m_log = text; }
    void appendLog(const QString &entry) override { m_log += QStringLiteral("\r\n") + entry; }

    void setAddressDisplay(const QString &text, const QString &) override { m_addressDisplay = text; }
    QString addressDisplay() const { return m_addressDisplay; }

    QStringList items(Control combo) const { return m_items.value(combo); }

    // The boxes the settings checks show: checked on MainForm (tst_checks). A question
    // takes No, its default button.
    void showMessage(const QString &, const QString &) override {}
    bool askYesNo(const QString &, const QString &) override { return false; }

private:
    QSet<Control> m_disabled;
    QHash<Control, QStringList> m_items;
    QHash<Control, int> m_selected;
    QHash<Control, QString> m_texts;
    QSet<Control> m_checked;
    QStringList m_devices;
    int m_selectedDevice = -1;
    QString m_log;
    QString m_addressDisplay;
};

}  // namespace kelvane
