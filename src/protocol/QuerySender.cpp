// SPDX-License-Identifier: Apache-2.0
#include "QuerySender.h"

#include "Catalogue.h"
#include "Frames.h"
#include "core/Diagnostics.h"

namespace kelvane {

void sendQuery(Machine &m)
{
    const std::optional<DeviceAddress> address = m.module;
    if (m.Step < 0 || m.Step >= ParameterCount || !address) {
        qCWarning(lcEngine) << "no query to send at Step" << m.Step;
        return;
    }
    const QByteArray frame = frames::query(*address, catalogue()[m.Step].code);
    // Raised before sending, so an answer handled afterwards sees the new Step.
    ++m.Step;
    m.misfit = false;
    m.send(frame);
}

}  // namespace kelvane
