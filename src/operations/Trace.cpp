// SPDX-License-Identifier: Apache-2.0
#include "Trace.h"

#include "protocol/FrameDescription.h"

namespace kelvane {

Trace::Trace(QObject *parent) : QObject(parent) {}

Trace::~Trace()
{
    flushPending(QStringLiteral("not handled"));
}

bool Trace::open(const QString &path)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text | QIODevice::Unbuffered))
        return false;
    m_clock.start();
    write(QStringLiteral("# ms\tdirection\tcard\tpeer\tbytes\tmeaning"));
    return true;
}

void Trace::attach(Link &link, Engine &engine)
{
    connect(&link, &Link::traffic, this, &Trace::onTraffic);
    connect(&link, &Link::dropped, this, &Trace::onHandled);
    explain(engine);
}

void Trace::explain(Engine &engine)
{
    connect(&engine, &Engine::datagramHandled, this, &Trace::onHandled);
}

void Trace::note(const QString &text)
{
    const QString line =
        QStringLiteral("%1\tnote\t-\t-\t-\t%2").arg(double(m_clock.nsecsElapsed()) / 1e6, 0, 'f', 3).arg(text);
    // Told while an arrival is handled (the reply that ends a search): it follows that arrival.
    if (m_pending.isEmpty())
        write(line);
    else
        m_held.append(line);
}

void Trace::onTraffic(Direction direction, const QByteArray &datagram, const QString &card,
                      const QHostAddress &peer, quint16 port)
{
    const bool sent = direction == Direction::Sent;
    const QString line = QStringLiteral("%1\t%2\t%3\t%4:%5\t%6\t")
                             .arg(double(m_clock.nsecsElapsed()) / 1e6, 0, 'f', 3)
                             .arg(sent ? QStringLiteral("out") : QStringLiteral("in"),
                                  card.isEmpty() ? QStringLiteral("-") : card, peer.toString())
                             .arg(port)
                             .arg(QString::fromLatin1(datagram.toHex(' ')));
    if (sent && m_pending.isEmpty()) {
        write(line + describeRequest(datagram));
    } else if (sent) {
        // Sent while an arrival is handled: its line follows the arrival's.
        m_held.append(line + describeRequest(datagram));
    } else {
        flushPending(QStringLiteral("not handled"));
        m_pending = line;
    }
}

void Trace::onHandled(const QByteArray &, const QString &meaning)
{
    flushPending(meaning);
}

void Trace::flushPending(const QString &meaning)
{
    if (!m_pending.isEmpty())
        write(m_pending + meaning);
    m_pending.clear();
    for (const QString &line : std::as_const(m_held))
        write(line);
    m_held.clear();
}

void Trace::write(const QString &line)
{
    if (!m_file.isOpen())
        return;
    m_file.write(line.toUtf8() + '\n');
    m_file.flush();
}

}  // namespace kelvane
