// The shared link as one module's job sees it: sends go out on the shared
// socket, and only datagrams from its own module come in.
#pragma once

#include "core/Link.h"

namespace kelvane::cli {

class ModuleLink final : public Link {
    Q_OBJECT
public:
    explicit ModuleLink(Link &shared) : m_shared(shared) {}

    bool open() override { return m_shared.open(); }
    QString errorString() const override { return m_shared.errorString(); }
    bool send(const QByteArray &datagram) override { return m_shared.send(datagram); }
    QString localAddress() const override { return m_shared.localAddress(); }
    std::optional<ModuleRoute> routeOf(const DeviceAddress &module) const override { return m_shared.routeOf(module); }
    QList<NetworkCard> cards() const override { return m_shared.cards(); }

    // A datagram the shared link received from this module.
    void deliver(const QByteArray &datagram) { emit datagramReceived(datagram); }

private:
    Link &m_shared;
};

}  // namespace kelvane::cli
