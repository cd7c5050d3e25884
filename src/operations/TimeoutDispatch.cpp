// SPDX-License-Identifier: Apache-2.0
#include "TimeoutDispatch.h"

#include "Defaults.h"
#include "Read.h"
#include "Scan.h"
#include "Write.h"
#include "core/Diagnostics.h"
#include "protocol/Catalogue.h"

namespace kelvane {

void timer1Expired(Machine &m)
{
    m.Timer1.stop();
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

}  // namespace kelvane
