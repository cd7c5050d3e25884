#include "Write.h"

#include "NoSelection.h"
#include "protocol/Catalogue.h"
#include "protocol/WriteDispatcher.h"
#include "protocol/WriteSenders.h"

#include <QCoreApplication>

namespace kelvane {

void startWrite(Machine &m)
{
    if (refuseWithoutSelection(m, Operation::Write))
        return;
    // All 17 values are checked and taken now, so nothing invalid goes on the
    // wire and the module gets one consistent set, whatever is edited meanwhile.
    auto values = writeValues(m.panel);
    if (const auto *invalid = std::get_if<const Parameter *>(&values)) {
        if (m.RetryCount > 0) {
            refuseWrite(m, invalidValueMessage(**invalid));
            return;
        }
        m.log.replace({invalidValueMessage(**invalid)});
        m.end(Operation::Write, false);
        return;
    }
    m.writeValues = std::get<QByteArrayList>(std::move(values));
    if (m.RetryCount == 0)
        m.log.replace({QCoreApplication::translate("Write", "设置设备%1的参数... ...").arg(m.deviceNumber())});
    m.setCommandsEnabled(false);
    m.Step = WriteBase;
    dispatchWrite(m);
}

void writeTimeout(Machine &m)
{
    if (m.RetryCount < MaxRetries) {
        ++m.RetryCount;
        startWrite(m);
        return;
    }
    failWrite(m);
}

}  // namespace kelvane
