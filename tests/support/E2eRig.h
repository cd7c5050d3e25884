// SPDX-License-Identifier: Apache-2.0
// The tool's engine on its real socket, driven as the window drives it, for the
// suites that run it against kelvane-sim: scans, reads and writes awaited to
// their verdict, and the values the window shows.
#pragma once

#include "support/SimProcess.h"

#include "HeadlessPanel.h"
#include "Presenter.h"
#include "core/QtOneShotTimer.h"
#include "core/StatusLog.h"
#include "operations/Engine.h"
#include "protocol/Catalogue.h"
#include "protocol/UdpLink.h"

#include <QJsonObject>
#include <QNetworkInterface>

namespace kelvane::test {

inline constexpr int E2eTimeout = 5000;
inline constexpr Control StartModes[] = {Control::Direct, Control::PPPOE, Control::DHCP};

// Module 1 as the simulator makes it: 600bps is the last baud item, 9 data bits the second.
inline const QStringList Module1 = {"600bps", "无", "9", "0003", "偶校验", "0040", "1", "正常显示",
                                    "192.168.001.001", "255.255.255.000", "192.168.001.010", "00502",
                                    "010.000.000.001", "01024", "TCP服务器", "100M全双工手动握手", "Direct"};
// Each differs from module 1's and module 3's own value, typed the way a module answers it.
inline const QStringList Written = {"115200bps", "RTS/CTS", "8", "0007", "无校验", "0012", "2", "兼容模式",
                                    "192.168.002.254", "255.255.000.000", "192.168.000.007", "08080",
                                    "172.016.005.009", "65535", "UDP组播", "自动握手", "PPPOE"};

inline QString item(int module) { return QStringLiteral("设备 ( 024B5600000%1 )").arg(module); }

// A frame as the simulator's trace shows it arriving from the tool's port on LAN 1.
inline QString heard(const QByteArray &frame, const QString &from = QStringLiteral("192.0.2.1:65002"))
{
    return "in  " + QString::fromLatin1(frame.toHex(' ').toUpper()) + " | " + from;
}

// A module's values as the simulator holds them (SimProcess::held) in the form of
// kelvane's JSON, decoded here from the answer forms and the catalogue's items, not
// by the tool: {"baud_rate": "600bps", "time_delimiter": "0003", "start_mode": "direct", ...}.
inline QJsonObject jsonOf(const QStringList &held)
{
    static const QStringList modes = {"direct", "pppoe", "dhcp"};
    QJsonObject json;
    for (int row = 0; row < ParameterCount && row < held.size(); ++row) {
        const Parameter &p = catalogue()[row];
        const QString &answer = held[row];
        // A one-digit answer is a padding digit and the digit.
        const int digit = answer.size() == 2 ? answer.at(1).digitValue() : -1;
        QString value;
        switch (p.answer) {
        case AnswerLayout::Choice:
            value = p.items.value(digit - p.digitOffset);
            break;
        case AnswerLayout::StartMode:
            value = modes.value(digit);
            break;
        case AnswerLayout::FourDigits:
            value = answer.mid(1);  // padded to five on the wire
            break;
        case AnswerLayout::FiveDigits:
        case AnswerLayout::Address:
            value = answer;
            break;
        }
        json.insert(QLatin1String(p.key), value);
    }
    return json;
}

// The same values as ToolRig::shown() lists them: the 16 boxes, then the start-mode button.
inline QStringList shownOf(const QJsonObject &values)
{
    static const QStringList modes = {"direct", "pppoe", "dhcp"};
    QStringList shown;
    for (int row = 0; row < ParameterCount - 1; ++row)
        shown << values.value(QLatin1String(catalogue()[row].key)).toString();
    const qsizetype mode = modes.indexOf(values.value(QStringLiteral("start_mode")).toString());
    if (mode >= 0)
        shown << controlName(StartModes[mode]);
    return shown;
}

// What could carry a broadcast beyond this private network: the suite runs only when nothing.
inline QStringList outsideCards()
{
    QStringList outside;
    if (qEnvironmentVariable("KELVANE_PRIVATE_NET") != QLatin1String("inside"))
        outside << QStringLiteral("not inside scripts/private-net");
    for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces()) {
        if (nic.type() != QNetworkInterface::Loopback && !nic.name().startsWith(QLatin1String("kvh")))
            outside << nic.name();
    }
    return outside;
}

// The tool on its real socket and timer, driven as the window drives it.
struct ToolRig {
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine{link, timer};
    Presenter window{panel, engine};

    ToolRig() { window.startUp(); }
    QStringList log(qsizetype n) const { return panel.logText().split("\r\n").last(n); }
    bool scan()
    {
        window.scan();
        return QTest::qWaitFor([this] { return engine.machine().ScanRound == 0; }, E2eTimeout);
    }
    QStringList devices() const
    {
        QStringList items;
        for (int row = 0; row < panel.deviceRowCount(); ++row)
            items << panel.deviceText(row);
        return items;
    }
    int rowOf(int module) const { return int(devices().indexOf(item(module))); }
    QStringList shown() const
    {
        QStringList values;
        for (Control c : valueControls())
            values << panel.text(c);
        for (Control c : StartModes) {
            if (panel.isChecked(c))
                values << controlName(c);
        }
        return values;
    }
    // How the running read or write of list row `row` ended once Device_List is back: 1 with
    // "<verb>设备 n<success>", 0 with its failure entry, -1 neither within ms.
    int outcome(int row, const QString &verb, const QString &success, int ms)
    {
        const QString n = StatusLog::number(row + 1);
        const QString succeeded = verb + "设备" + n + success;
        const bool ended = QTest::qWaitFor([&] {
            return panel.isEnabled(Control::Device_List) &&
                   (log(1) == QStringList{succeeded} || panel.logText().contains(verb + "设备" + n + "参数不成功！"));
        }, ms);
        return ended ? int(log(1) == QStringList{succeeded}) : -1;
    }
    // Enters the values as the operator would and waits for the write's verdict.
    int write(const QStringList &values, int ms = E2eTimeout)
    {
        for (int row = 0; row < ParameterCount - 1; ++row) {
            const Parameter &p = catalogue()[row];
            if (p.kind == ValueKind::Choice)
                panel.selectIndex(p.control, int(p.items.indexOf(values[row])));
            else
                panel.setText(p.control, values[row]);
        }
        for (Control c : StartModes)
            panel.setChecked(c, controlName(c) == values.last());
        window.setting();
        return outcome(panel.selectedDeviceRow(), "设置", "数据成功！", ms);
    }
    // Clicks the row and waits for the read's verdict.
    int read(int row, int ms = E2eTimeout)
    {
        panel.selectDeviceRow(row);
        window.deviceListClicked();
        return outcome(row, "读取", "参数成功！", ms);
    }
};

}  // namespace kelvane::test
