#include "HeadlessPanel.h"

namespace kelvane {

void HeadlessPanel::setEnabled(Control control, bool enabled)
{
    if (enabled)
        m_disabled.remove(control);
    else
        m_disabled.insert(control);
}

bool HeadlessPanel::isEnabled(Control control) const
{
    return !m_disabled.contains(control);
}

void HeadlessPanel::addItems(Control combo, const QStringList &items)
{
    m_items[combo] += items;
}

int HeadlessPanel::selectedIndex(Control combo) const
{
    return m_selected.value(combo, -1);
}

bool HeadlessPanel::selectIndex(Control combo, int index)
{
    const QStringList &items = m_items[combo];
    if (index < -1 || index >= items.size())
        return false;
    m_selected[combo] = index;
    m_texts[combo] = index < 0 ? QString() : items.at(index);
    return true;
}

QString HeadlessPanel::text(Control control) const
{
    return m_texts.value(control);
}

void HeadlessPanel::setText(Control control, const QString &text)
{
    m_texts[control] = text;
    // A combo box selects the item whose text is typed, and none otherwise.
    if (m_items.contains(control))
        m_selected[control] = int(m_items[control].indexOf(text));
}

bool HeadlessPanel::isChecked(Control option) const
{
    return m_checked.contains(option);
}

void HeadlessPanel::setChecked(Control option, bool checked)
{
    // The three start-mode buttons are one group: checking one clears the others.
    if (checked)
        m_checked = {option};
    else
        m_checked.remove(option);
}

void HeadlessPanel::appendDevice(const QString &itemText)
{
    m_devices.append(itemText);
}

void HeadlessPanel::removeDevice(int row)
{
    m_devices.removeAt(row);
    if (row == m_selectedDevice)
        m_selectedDevice = -1;
    else if (row < m_selectedDevice)
        --m_selectedDevice;
}

int HeadlessPanel::deviceRowCount() const
{
    return int(m_devices.size());
}

QString HeadlessPanel::deviceText(int row) const
{
    return m_devices.value(row);
}

int HeadlessPanel::selectedDeviceRow() const
{
    return m_selectedDevice;
}

void HeadlessPanel::selectDeviceRow(int row)
{
    m_selectedDevice = (row >= 0 && row < deviceRowCount()) ? row : -1;
}

QString HeadlessPanel::logText() const
{
    return m_log;
}

void HeadlessPanel::replaceLog(const QString &text)
{
    m_log = text;
}

void HeadlessPanel::appendLog(const QString &entry)
{
    m_log += QStringLiteral("\r\n") + entry;
}

void HeadlessPanel::setAddressDisplay(const QString &text, const QString &toolTip)
{
    m_addressDisplay = text;
    m_addressToolTip = toolTip;
}

}  // namespace kelvane
