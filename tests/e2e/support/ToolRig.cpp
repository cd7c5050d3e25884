#include "ToolRig.h"

#include <QTest>

namespace kelvane::e2e {

ToolRig::ToolRig() : engine(panel, link, timer)
{
    engine.startUp();
}

QStringList ToolRig::logLines() const
{
    return panel.logText().split(QStringLiteral("\r\n"));
}

QString ToolRig::lastLogLine() const
{
    return logLines().constLast();
}

QStringList ToolRig::lastLogLines(int n) const
{
    const QStringList lines = logLines();
    return lines.mid(qMax(0, lines.size() - n));
}

QStringList ToolRig::deviceItems() const
{
    QStringList items;
    for (int row = 0; row < panel.deviceRowCount(); ++row)
        items << panel.deviceText(row);
    return items;
}

QList<bool> ToolRig::commandsEnabled() const
{
    QList<bool> enabled;
    for (Control c : {Control::Device_List, Control::L_Default, Control::Setting, Control::Run_Device})
        enabled << panel.isEnabled(c);
    return enabled;
}

bool ToolRig::scanToEnd(int timeoutMs)
{
    engine.scan();
    if (QTest::qWaitFor([this] { return engine.machine().ScanRound == 0; }, timeoutMs))
        return true;
    qWarning("scan did not end:\n%s", qPrintable(panel.logText()));
    return false;
}

bool ToolRig::read(int row, int timeoutMs)
{
    panel.selectDeviceRow(row);
    engine.deviceListClicked();
    const QString success = QStringLiteral("读取设备") + StatusLog::number(row + 1) + QStringLiteral("参数成功！");
    // A read that ends, well or badly, gives Device_List back.
    const bool ended = QTest::qWaitFor([this] { return panel.isEnabled(Control::Device_List); }, timeoutMs);
    if (ended && lastLogLine() == success)
        return true;
    qWarning("read of row %d did not succeed:\n%s", row, qPrintable(panel.logText()));
    return false;
}

}  // namespace kelvane::e2e
