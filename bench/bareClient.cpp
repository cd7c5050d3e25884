// SPDX-License-Identifier: Apache-2.0
// kelvane-bare-client PREFIX FRAME...: the least a client of the modules does,
// as a process of its own, for the benchmarks to set whole commands against.
// Each FRAME (hex) is broadcast to port 65000 once the one before has had an
// answer on port 65002 that starts with PREFIX (hex); it exits 0 after the last
// frame's answer, 1 when an answer does not come within a second. Nothing of
// the tool's engine: a socket, a timer and the bytes it was given.
#include <QCoreApplication>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: kelvane-bare-client PREFIX FRAME...  (hex, inside scripts/private-net)\n", stderr);
        return 2;
    }
    const QByteArray prefix = QByteArray::fromHex(argv[1]);
    QByteArrayList frames;
    for (int i = 2; i < argc; ++i)
        frames << QByteArray::fromHex(argv[i]);

    QUdpSocket socket;
    if (!socket.bind(QHostAddress::AnyIPv4, 65002)) {
        std::fprintf(stderr, "kelvane-bare-client: %s\n", qPrintable(socket.errorString()));
        return 2;
    }
    QTimer silence;
    silence.setSingleShot(true);
    QObject::connect(&silence, &QTimer::timeout, &app, [] { QCoreApplication::exit(1); });
    qsizetype answered = 0;
    const auto send = [&] {
        socket.writeDatagram(frames.at(answered), QHostAddress::Broadcast, 65000);
        silence.start(1000);
    };
    QObject::connect(&socket, &QUdpSocket::readyRead, &app, [&] {
        char buffer[2048];
        while (socket.hasPendingDatagrams() && answered < frames.size()) {
            const qint64 size = socket.readDatagram(buffer, sizeof buffer);
            if (size < 0 || !QByteArray::fromRawData(buffer, size).startsWith(prefix))
                continue;
            if (++answered == frames.size())
                QCoreApplication::exit(0);
            else
                send();
        }
    });
    send();
    return QCoreApplication::exec();
}
