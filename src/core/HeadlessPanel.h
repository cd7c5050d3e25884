// A Panel of plain values, for tests, the fuzzer and benchmarks.
#pragma once

#include "Panel.h"

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

    QString logText() const override;
    void replaceLog(const QString &text) override;
    void appendLog(const QString &entry) override;

    void setAddressDisplay(const QString &text, const QString &toolTip) override;
    QString addressDisplay() const { return m_addressDisplay; }
    QString addressToolTip() const { return m_addressToolTip; }

    QStringList items(Control combo) const { return m_items.value(combo); }

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
    QString m_addressToolTip;
};

}  // namespace kelvane
