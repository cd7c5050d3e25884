// SPDX-License-Identifier: Apache-2.0
#include "TimeoutDispatch.h"

#include "Defaults.h"
#include "Read.h"
#include "Scan.h"
#include "Write.h"
#include "core/Diagnostics.h"
#include "protocol/Catalogue.h"
#include "protocol/QuerySender.h"
#include "protocol/WriteDispatcher.h"

namespace kelvane {

void timer1Expired(Machine &m)
{
    // An answer that came in time still counts, however late it is read.
    const qint16 step = m.Step;
    const std::optional<Operation> running = m.running;
    const bool quiet = m.quiet;
    m.overdue = true;
    m.Winsock.readNow();
    m.overdue = false;
    if (m.Timer1.isActive() || m.Step != step || m.running != running) {
        // Answers come in microseconds to milliseconds: one that waits for
        // the time-out to be read was not heard when it came.
        if (!quiet)
            qCDebug(lcEngine) << "an answer was read only at its time-out, at Step" << step;
        return;
    }
    m.Timer1.stop();
    if (m.quiet) {
        m.quiet = false;
        nextFrame(m);
        return;
    }
    if (m.Step == 0)
        scanTimeout(m);
    else if (m.Step >= 1 && m.Step <= ParameterCount)
        readTimeout(m);
    else if (m.Step == DefaultsStep)
        defaultsTimeout(m);
    else if (m.Step > WriteBase && m.Step <= WriteFinish)
        writeTimeout(m);
    else
        qCWarning(lcEngine) << "Timer1 expired at Step" << m.Step << ", which awaits nothing";
}

void nextFrame(Machine &m)
{
    if (m.Step == ParameterCount) {
        readDone(m);
    } else if (m.Step >= 1 && m.Step < ParameterCount) {
        sendQuery(m);
        m.armTimer1();
    } else if (m.Step > WriteBase && m.Step <= WriteFinish) {
        dispatchWrite(m);
    }
}

bool awaitQuiet(Machine &m, bool copyWouldAnswer)
{
    if (m.frameRetries > 0) {
        // An attempt retried may still be answered late, and so may the retry
        // itself when its answer was not the one taken: two time-outs, not one.
        m.frameRetries = 0;
        m.quiet = true;
        m.Timer1.start(2 * m.timeoutMs);
        return true;
    }
    if (!m.retriesEachFrame() || m.settleMs <= 0 || !copyWouldAnswer)
        return false;
    // The copies of an answer come back to back, but the next frame could
    // leave between two of them: they would answer it.
    m.quiet = true;
    m.Timer1.start(m.settleMs);
    return true;
}

}  // namespace kelvane
