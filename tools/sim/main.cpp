// SPDX-License-Identifier: Apache-2.0
// kelvane-sim: a network of virtual modules that answers the tool over UDP.
#include "Delivery.h"
#include "Options.h"
#include "Responder.h"
#include "UdpShell.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cstdio>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>
#endif

using namespace kelvane::sim;

namespace {
#ifdef Q_OS_UNIX
int stopPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &byte, 1);
}
#endif

// TERM and INT end the event loop rather than the process, so that the state
// can still be written; a signal handler may do no more than write a byte.
bool quitOnStopSignals()
{
#ifdef Q_OS_UNIX
    if (::pipe(stopPipe) != 0)
        return false;
    auto *notifier = new QSocketNotifier(stopPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, QCoreApplication::instance(), &QCoreApplication::quit);
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
#else
    return true;
#endif
}

bool writeState(const QString &fileName, const Responder &responder)
{
    // Whole or not at all: whoever waits for the file reads it only once it is complete.
    QSaveFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(responder.state()) >= 0 && file.commit();
}
}  // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_LINUX
    // Run behind a wrapper in a namespace of its own: should the wrapper be
    // killed outright, go with it rather than linger unseen.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvane-sim"));

    const std::variant<Options, QString> parsed = parseOptions(QCoreApplication::arguments());
    if (const auto *error = std::get_if<QString>(&parsed)) {
        std::fprintf(stderr, "kelvane-sim: %s\n", qPrintable(*error));
        return 2;
    }
    const Options &options = std::get<Options>(parsed);
    if (!options.help.isEmpty()) {
        std::fputs(qPrintable(options.help), stdout);
        return 0;
    }

    Responder responder(options.modules, options.faults, options.restartMs, options.first - 1,
                        options.moduleIps);
    Delivery delivery(options.delivery, options.seed);
    UdpShell shell(responder, delivery, options.verbose, options.answerFromIp);
    if (!shell.bind()) {
        std::fprintf(stderr, "kelvane-sim: %s\n", qPrintable(shell.errorString()));
        return 1;
    }
    if (!options.dumpFile.isEmpty() && !quitOnStopSignals()) {
        std::fputs("kelvane-sim: cannot catch TERM and INT for --dump-on-exit\n", stderr);
        return 1;
    }
    // Whoever started us may send from now on.
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    const int status = QCoreApplication::exec();
    if (!options.dumpFile.isEmpty() && !writeState(options.dumpFile, responder)) {
        std::fprintf(stderr, "kelvane-sim: cannot write %s\n", qPrintable(options.dumpFile));
        return 1;
    }
    return status;
}
