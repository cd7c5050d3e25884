#include "TimeoutDispatch.h"

#include "Defaults.h"
#include "Read.h"
#include "Scan.h"
#include "Write.h"
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
    else
        writeTimeout(m);
}

}  // namespace kelvane
