// SPDX-License-Identifier: Apache-2.0
#include "Machine.h"

#include "Diagnostics.h"
#include "StatusLog.h"
#include "operations/Reporter.h"

#include <QCoreApplication>

namespace kelvane {

bool Machine::send(const QByteArray &frame)
{
    // What arrived from the module before this frame left cannot be its answer.
    if (const std::optional<DeviceAddress> to = DeviceAddress::fromFrame(frame))
        Winsock.drainPending(*to);
    if (Winsock.send(frame))
        return true;
    // The status entry says why; for the log it is a detail.
    qCDebug(lcLink) << "send failed:" << Winsock.errorString();
    report.onSendFailed(QCoreApplication::translate("Machine", "发送数据失败：%1").arg(Winsock.errorString()));
    return false;
}

void Machine::end(OutcomeKind kind, const QStringList &entry)
{
    if (!running)
        return;
    const Operation operation = *running;
    running.reset();
    report.onEnded(operation, kind, entry);
}

QString Machine::deviceNumber() const
{
    if (namesByAddress && module)
        return QLatin1Char(' ') + module->toHex();
    return StatusLog::number(SelectedDevice + 1);
}

}  // namespace kelvane
