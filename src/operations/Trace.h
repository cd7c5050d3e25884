// SPDX-License-Identifier: Apache-2.0
// A traffic trace for support: one line per datagram sent or received, with
// the time, direction, card, peer, bytes and what the engine made of it.
// Every line is flushed as it is written, so a crash keeps the trace.
#pragma once

#include "Engine.h"

#include <QElapsedTimer>
#include <QFile>

namespace kelvane {

class Trace : public QObject {
    Q_OBJECT
public:
    explicit Trace(QObject *parent = nullptr);
    // An arrival still waiting for a verdict is written as not handled.
    ~Trace() override;

    // Creates or empties the file; false, with errorString(), when it cannot.
    bool open(const QString &path);
    QString errorString() const { return m_file.errorString(); }

    // Traces the link's traffic and the engine's reading of each arrival.
    void attach(Link &link, Engine &engine);
    // Also takes the reading of another engine on the same link, one that
    // works on a module of its own; it is followed until it is destroyed.
    void explain(Engine &engine);
    // A line of its own between the datagrams: "note" where the direction
    // goes, the text where the meaning goes. One told while an arrival is
    // handled comes after that arrival's line.
    void note(const QString &text);

private:
    void onTraffic(Direction direction, const QByteArray &datagram, const QString &card,
                   const QHostAddress &peer, quint16 port);
    void onHandled(const QByteArray &datagram, const QString &meaning);
    void flushPending(const QString &meaning);
    void write(const QString &line);

    QFile m_file;
    QElapsedTimer m_clock;
    // The arrival waiting for the engine's verdict, and what was sent meanwhile.
    QString m_pending;
    QStringList m_held;
};

}  // namespace kelvane
