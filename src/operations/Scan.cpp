// SPDX-License-Identifier: Apache-2.0
#include "Scan.h"

#include "Reporter.h"
#include "protocol/Frames.h"

#include <QCoreApplication>

namespace kelvane {

QStringList portUnavailableMessage(const Link &link)
{
    return {QCoreApplication::translate("Scan", "无法打开本地UDP端口%1：%2")
                .arg(StatusLog::number(LocalPort), link.errorString()),
            QCoreApplication::translate("Scan", "请关闭占用该端口的程序，然后重新扫描设备。")};
}

void scanRound(Machine &m)
{
    // Every answer to a broadcast sent from another port would go astray, so a
    // scan does not start while local port 65002 cannot be had.
    if (!m.Winsock.open()) {
        m.ScanRound = 0;
        m.end(OutcomeKind::PortUnavailable, portUnavailableMessage(m.Winsock));
        return;
    }
    // A read or write the scan cut short leaves no retries behind.
    m.RetryCount = 0;
    QStringList entry;
    if (m.ScanRound == 0) {
        entry = {QCoreApplication::translate("Scan", "计算机正在扫描网络中的设备... ..."),
                 QCoreApplication::translate("Scan", "本计算机与设备的IP地址可以不是在同一个网段，但必须是在由交换机或路由器支持的同一个局域网内，不能被路由器隔离。")};
    }
    m.report.onScanRound(m.ScanRound + 1, entry);
    m.send(frames::discoveryRequest());
    m.Step = 0;
    m.Timer1.start(TimeoutMs);
    ++m.ScanRound;
}

void scanTimeout(Machine &m)
{
    if (m.ScanRound < ScanRounds) {
        scanRound(m);
        return;
    }
    finishScan(m);
}

void finishScan(Machine &m)
{
    m.Timer1.stop();
    m.ScanRound = 0;
    const int found = m.deviceTable.count();
    if (found == 0) {
        m.end(OutcomeKind::NoAnswer,
              {QCoreApplication::translate("Scan", "未检查到网络中的设备！"),
               QCoreApplication::translate("Scan", "设备与该计算机必须是在同一个交换机或路由器所支持的局域网内，不能经过路由器隔离。")});
        return;
    }
    m.end(OutcomeKind::Done, {QCoreApplication::translate("Scan", "检测到%1个设备。").arg(StatusLog::number(found))});
}

}  // namespace kelvane
