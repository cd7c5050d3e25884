#include "Machine.h"

#include "Diagnostics.h"

#include <QCoreApplication>

namespace kelvane {

bool Machine::send(const QByteArray &frame)
{
    if (Winsock.send(frame))
        return true;
    qCWarning(lcLink) << "send failed:" << Winsock.errorString();
    // A read retried over a pulled cable fails the same way each time: one entry says it.
    const QString message = QCoreApplication::translate("Machine", "发送数据失败：%1").arg(Winsock.errorString());
    if (!panel.logText().endsWith(message))
        log.append({message});
    return false;
}

}  // namespace kelvane
