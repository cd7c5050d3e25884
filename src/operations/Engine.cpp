#include "Engine.h"

#include "Defaults.h"
#include "Read.h"
#include "Reset.h"
#include "Scan.h"
#include "Startup.h"
#include "TimeoutDispatch.h"
#include "Write.h"
#include "replies/DiscoveryReply.h"
#include "replies/ReceiveHandler.h"

namespace kelvane {

Engine::Engine(Panel &panel, Link &winsock, OneShotTimer &timer1, StatusLog::Clock clock,
               QObject *parent)
    : QObject(parent), m_machine(panel, winsock, timer1, std::move(clock))
{
    connect(&winsock, &Link::datagramReceived, this,
            [this](const QByteArray &datagram) {
        emit datagramHandled(datagram, receive(m_machine, datagram));
    });
    m_machine.ended = [this](Operation operation, bool succeeded) {
        emit operationEnded(operation, succeeded);
    };
    connect(&timer1, &OneShotTimer::expired, this, [this] { timer1Expired(m_machine); });
}

void Engine::startUp() { kelvane::startUp(m_machine); }
void Engine::scan() { scanRound(m_machine); }
void Engine::deviceListClicked() { startRead(m_machine); }
void Engine::setting() { startWrite(m_machine); }
void Engine::restoreDefaults() { kelvane::restoreDefaults(m_machine); }
void Engine::runDevice() { resetDevice(m_machine); }
void Engine::exitConfirmed() { sendExitFrame(m_machine); }

int Engine::adoptModule(const QByteArray &discoveryReply)
{
    const std::optional<DeviceAddress> address = DeviceAddress::fromFrame(discoveryReply);
    if (!address)
        return -1;
    if (const int row = m_machine.deviceTable.indexOf(*address); row >= 0)
        return row;
    if (m_machine.deviceTable.isFull())
        return -1;
    m_machine.deviceTable.append(discoveryReply);
    m_machine.panel.appendDevice(deviceItemText(*address));
    return m_machine.deviceTable.count() - 1;
}

}  // namespace kelvane
