#include "ReceiveHandler.h"

#include "Acknowledgement.h"
#include "DiscoveryReply.h"
#include "ParameterReply.h"
#include "protocol/Catalogue.h"

namespace kelvane {

void receive(Machine &m, const QByteArray &reply)
{
    if (m.Step == 0)
        handleDiscoveryReply(m, reply);
    else if (m.Step >= 1 && m.Step <= ParameterCount)
        handleParameterReply(m, reply);
    else if (m.Step == DefaultsStep)
        handleDefaultsAck(m, reply);
    else if (m.Step > DefaultsStep)
        handleWriteAck(m, reply);
    // Steps 18, 19 and below 0 are never set; a datagram then means nothing.
}

}  // namespace kelvane
