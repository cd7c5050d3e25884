// SPDX-License-Identifier: Apache-2.0
// kelvane-sim: a network of virtual modules that answers the tool over UDP.
#include "Delivery.h"
#include "Options.h"
#include "Responder.h"
#include "UdpShell.h"

#include <QCoreApplication>

#include <cstdio>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

using namespace kelvane::sim;

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
    // Whoever started us may send from now on.
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return QCoreApplication::exec();
}
