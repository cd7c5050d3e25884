#include "Write.h"

#include "NoSelection.h"
#include "protocol/Catalogue.h"
#include "protocol/WriteDispatcher.h"
#include "protocol/WriteSenders.h"

namespace kelvane {

void startWrite(Machine &m)
{
    if (refuseWithoutSelection(m))
        return;
    // Nothing goes on the wire unless every value can: a combo box with typed
    // text has no item, and its digit would stand for no setting at all.
    if (const Parameter *invalid = firstInvalidParameter(m.panel)) {
        if (m.RetryCount == 0)
            m.log.replace({invalidValueMessage(*invalid)});
        else
            refuseWrite(m, invalidValueMessage(*invalid));
        return;
    }
    if (m.RetryCount == 0)
        m.log.replace({QStringLiteral("设置设备") + m.deviceNumber() + QStringLiteral("的参数... ...")});
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
