// The tool without its window: the shared state, the operations the window's
// commands start, and the two event sources below them (datagrams and Timer1).
#pragma once

#include "core/Machine.h"

#include <QObject>

namespace kelvane {

class Engine : public QObject {
    Q_OBJECT
public:
    Engine(Panel &panel, Link &winsock, OneShotTimer &timer1,
           StatusLog::Clock clock = &QDateTime::currentDateTime, QObject *parent = nullptr);

    Machine &machine() { return m_machine; }
    const Machine &machine() const { return m_machine; }

    void startUp();
    void scan();
    void deviceListClicked();
    void setting();
    void restoreDefaults();
    void runDevice();
    void exitConfirmed();

    // Lists a module found by another engine on the same link, from its
    // discovery reply, so this engine can work on it without a scan of its
    // own; its row, or -1 when the reply names no module or the list is full.
    int adoptModule(const QByteArray &discoveryReply);

signals:
    // An operation has ended: its entry is the last one in the log.
    void operationEnded(kelvane::Operation operation, bool succeeded);
    // Every datagram that arrived, and what the engine made of it.
    void datagramHandled(const QByteArray &datagram, const QString &meaning);

private:
    Machine m_machine;
};

}  // namespace kelvane
