// SPDX-License-Identifier: Apache-2.0
// What the figures share: the table, waits on the event loop, commands, the simulator, the bare client.
#include "Harness.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

namespace kelvane::bench {

namespace {
int met = 0, targets = 0;
}  // namespace

void row(const QString &figure, const QString &measured, const QString &target, std::optional<bool> isMet)
{
    targets += isMet.has_value();
    met += isMet.value_or(false);
    std::printf("%s | %s | %s | %s\n", qPrintable(figure.leftJustified(70)), qPrintable(measured.leftJustified(52)),
                qPrintable(target.leftJustified(18)), !isMet ? "info" : *isMet ? "met" : "MISSED");
    std::fflush(stdout);
}

void rowBelow(const QString &figure, const QString &measured, double value, double limit, const QString &unit)
{
    row(figure, measured, "< " + QString::number(limit) + unit, value < limit);
}

bool summary()
{
    std::printf("\n%d of %d figures within target (%d cores, kernel %s)\n", met, targets,
                QThread::idealThreadCount(), qPrintable(QSysInfo::kernelVersion()));
    return met == targets;
}

double median(std::vector<double> values)
{
    const auto middle = values.begin() + values.size() / 2;
    std::ranges::nth_element(values, middle);
    // An even count: the mean of the two middle values, the lower being the largest below.
    return values.size() % 2 ? *middle : (*middle + *std::max_element(values.begin(), middle)) / 2;
}

double timeUntil(const std::function<void()> &start, const std::function<bool()> &done, const QString &failure,
                 int timeoutMs)
{
    QEventLoop loop;
    QElapsedTimer clock;
    double ms = -1;
    const auto check = [&] {
        if (ms < 0 && done()) {
            ms = double(clock.nsecsElapsed()) / 1e6;
            loop.quit();
        }
    };
    // Asked just before the loop would sleep, so never while datagrams are due.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, check);
    // Ends with the wait: a time-out left behind would wake a later idle figure.
    QTimer deadline;
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    clock.start();
    start();
    check();
    if (ms < 0)
        loop.exec();
    if (ms < 0 && !failure.isEmpty())
        fail(failure);
    return ms;
}

Exit run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    const bool exited = process.waitForFinished(120000);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (!exited || process.exitStatus() != QProcess::NormalExit)
        fail(QFileInfo(program).fileName() + ' ' + arguments.join(' ').left(200) + " did not exit:\n" +
             process.readAllStandardError());
    return {ms, process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

double command(const QStringList &arguments, QByteArray *output)
{
    const Exit exit = run(KELVANE_CLI, arguments);
    if (exit.status != 0)
        fail("kelvane " + arguments.join(' ').left(200) + " failed:\n" + exit.errors + exit.output.right(2000));
    if (output)
        *output = exit.output;
    return exit.ms;
}

QStringList listedModules(int expected)
{
    QByteArray listed;
    command({"scan"}, &listed);
    QStringList modules;
    // A heading, then one line a module: position, address, card...
    for (const QString &line : QString::fromLatin1(listed).split('\n', Qt::SkipEmptyParts).mid(1))
        modules << line.simplified().section(' ', 1, 1);
    if (modules.size() != expected)
        fail(QStringLiteral("kelvane scan listed %1 modules, not %2").arg(modules.size()).arg(expected));
    return modules;
}

void saveProfileWithoutAddress(const QString &module, const QString &file)
{
    command({"save", module, file});
    QFile saved(file);
    if (!saved.open(QIODevice::ReadWrite))
        fail("cannot open " + file);
    QJsonObject profile = QJsonDocument::fromJson(saved.readAll()).object();
    QJsonObject parameters = profile.value("parameters").toObject();
    parameters.remove("ip_address");
    if (parameters.size() != ParameterCount - 1)
        fail("kelvane save wrote no whole profile:\n" + file);
    profile.insert("parameters", parameters);
    saved.resize(0);
    saved.write(QJsonDocument(profile).toJson());
}

Simulator::Simulator(const QStringList &arguments, int lan) : Simulator({"--lan", QString::number(lan)}, arguments) {}

Simulator::Simulator(const QStringList &peerOptions, const QStringList &arguments)
{
    // A benchmark that dies takes its simulator with it.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(KELVANE_PEER_HOST, peerOptions + QStringList{KELVANE_SIM} + arguments);
    timeUntil([] {}, [this] { return process.readAllStandardOutput().contains("ready\n"); },
              "kelvane-sim on the peer host (" + peerOptions.join(' ') + ") did not get ready", 10000);
}

void Simulator::stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    // peer-host hands TERM on to the simulator and ends with it; QProcess kills what is left.
    process.terminate();
    process.waitForFinished();
}

std::map<QString, QStringList> Simulator::held()
{
    process.readAllStandardOutput();
    // peer-host hands USR1 on too; the simulator answers "held ADDRESS CODE=answer..." lines, then "held end".
    if (::kill(pid_t(process.processId()), SIGUSR1) != 0)
        fail("cannot ask kelvane-sim what its modules hold");
    QByteArray out;
    timeUntil([] {}, [&] {
        out += process.readAllStandardOutput();
        return out.contains("held end\n");
    }, "kelvane-sim did not tell what its modules hold", 10000);
    std::map<QString, QStringList> modules;
    for (const QByteArray &line : out.left(out.indexOf("held end\n")).split('\n')) {
        QStringList fields = QString::fromLatin1(line).split(' ');
        if (fields.size() != ParameterCount + 2 || fields.takeFirst() != "held")
            continue;
        const QString address = fields.takeFirst();
        modules[address] = fields;
    }
    return modules;
}

std::vector<double> bareExchanges(const QByteArrayList &frames, const QByteArray &from, int times)
{
    QUdpSocket socket;
    if (!socket.bind(QHostAddress::AnyIPv4, LocalPort))
        fail("bare client: " + socket.errorString());
    qsizetype answered = 0;
    const auto send = [&] { socket.writeDatagram(frames.at(answered), QHostAddress::Broadcast, RemotePort); };
    QObject::connect(&socket, &QUdpSocket::readyRead, &socket, [&] {
        char buffer[2048];
        while (socket.hasPendingDatagrams() && answered < frames.size()) {
            const qint64 size = socket.readDatagram(buffer, sizeof buffer);
            if (size >= 0 && QByteArray::fromRawData(buffer, size).startsWith(from) && ++answered < frames.size())
                send();
        }
    });
    std::vector<double> ms;
    for (int time = 0; time < times; ++time) {
        answered = 0;
        ms.push_back(timeUntil(send, [&] { return answered == frames.size(); }, "the bare client had no answer"));
    }
    return ms;
}

}  // namespace kelvane::bench
