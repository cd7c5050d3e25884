// SPDX-License-Identifier: Apache-2.0
// kelvane-sim: a network of virtual modules that answers the tool over UDP.
#include "Delivery.h"
#include "Options.h"
#include "Responder.h"
#include "UdpShell.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_LINUX
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>
#endif

using namespace kelvane::sim;

#ifdef Q_OS_LINUX
namespace {
// SIGUSR1 writes a byte here; the event loop reads it and answers outside the handler.
int heldPipe[2] = {-1, -1};

void heldAsked(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(heldPipe[1], &byte, 1);
}

// On SIGUSR1, every module's values on standard output: "held <address> UB=09 ...",
// one line each, then "held end".
bool printHeldOnSignal(const Responder &responder, QObject *parent)
{
    if (::pipe2(heldPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto *notifier = new QSocketNotifier(heldPipe[0], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [&responder] {
        char bytes[64];
        while (::read(heldPipe[0], bytes, sizeof bytes) > 0) {
        }
        QByteArray lines;
        for (int i = 0; i < responder.moduleCount(); ++i)
            lines += "held " + responder.module(i).held() + '\n';
        std::fputs((lines + "held end\n").constData(), stdout);
        std::fflush(stdout);
    });
    struct sigaction action = {};
    action.sa_handler = heldAsked;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGUSR1, &action, nullptr) == 0;
}
}  // namespace
#endif

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
#ifdef Q_OS_LINUX
    if (!printHeldOnSignal(responder, &shell)) {
        std::fprintf(stderr, "kelvane-sim: cannot take SIGUSR1: %s\n", std::strerror(errno));
        return 1;
    }
#endif
    // Whoever started us may send from now on.
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return QCoreApplication::exec();
}
