// SPDX-License-Identifier: Apache-2.0
// A Panel of plain values, for tests, the fuzzer and benchmarks: the window without widgets.
#pragma once

#include "core/Panel.h"

#include <QHash>
#include <QSet>

namespace kelvane {

class HeadlessPanel final : public Panel {
public:
    void setEnabled(Control control, bool enabled) override;
    bool isEnabled(Control control) const override;

    void addItems(Control combo, const QStringList &items) override;
    int selectedIndex(Control combo) const override;
    bool selectIndex(Control combo, int index) override;

    QString text(Control control) const override;
    void setText(Control control, const QString &text) override;

    bool isChecked(Control option) const override;
    void setChecked(Control option, bool checked) override;

    void appendDevice(const QString &itemText) override;
    void removeDevice(int row) override;
    int deviceRowCount() const override;
    QString deviceText(int row) const override;
    int selectedDeviceRow() const override;
    void selectDeviceRow(int row);  // what a click in the list does first
    // The window's tooltips and warning icons: checked on MainForm (tst_checks).
    void setDeviceDetails(int, const QString &, bool) override {}

    QString logText() const override;
    void replaceLog(const QString &text) override;
    void appendLog(const QString &entry) override;

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

inline void HeadlessPanel::setEnabled(Control control, bool enabled)
{
    if (enabled)
        m_disabled.remove(control);
    else
        m_disabled.insert(control);
}

inline bool HeadlessPanel::isEnabled(Control control) const
{
    return !m_disabled.contains(control);
}

inline void HeadlessPanel::addItems(Control combo, const QStringList &items)
{
    m_items[combo] += items;
}

inline int HeadlessPanel::selectedIndex(Control combo) const
{
    return m_selected.value(combo, -1);
}

inline bool HeadlessPanel::selectIndex(Control combo, int index)
{
    const QStringList &items = m_items[combo];
    if (index < -1 || index >= items.size())
        return false;
    m_selected[combo] = index;
    m_texts[combo] = index < 0 ? QString() : items.at(index);
    return true;
}

inline QString HeadlessPanel::text(Control control) const
{
    return m_texts.value(control);
}

inline void HeadlessPanel::setText(Control control, const QString &text)
{
    m_texts[control] = text;
    // A combo box selects the item whose text is typed, and none otherwise.
    if (m_items.contains(control))
        m_selected[control] = int(m_items[control].indexOf(text));
}

inline bool HeadlessPanel::isChecked(Control option) const
{
    return m_checked.contains(option);
}

inline void HeadlessPanel::setChecked(Control option, bool checked)
{
    // The three start-mode buttons are one group: checking one clears the others.
    if (checked)
        m_checked = {option};
    else
        m_checked.remove(option);
}

inline void HeadlessPanel::appendDevice(const QString &itemText)
{
    m_devices.append(itemText);
}

inline void HeadlessPanel::removeDevice(int row)
{
    m_devices.removeAt(row);
    if (row == m_selectedDevice)
        m_selectedDevice = -1;
    else if (row < m_selectedDevice)
        --m_selectedDevice;
}

inline int HeadlessPanel::deviceRowCount() const
{
    return int(m_devices.size());
}

inline QString HeadlessPanel::deviceText(int row) const
{
    return m_devices.value(row);
}

inline int HeadlessPanel::selectedDeviceRow() const
{
    return m_selectedDevice;
}

inline void HeadlessPanel::selectDeviceRow(int row)
{
    m_selectedDevice = (row >= 0 && row < deviceRowCount()) ? row : -1;
}

inline QString HeadlessPanel::logText() const
{
    return m_log;
}

inline void HeadlessPanel::replaceLog(const QString &text)
{
    m_log = text;
}

inline void HeadlessPanel::appendLog(const QString &entry)
{
    m_log += QStringLiteral("\r\n") + entry;
}

}  // namespace kelvane
