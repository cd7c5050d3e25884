// SPDX-License-Identifier: Apache-2.0
// kelvane-config: finds Kelvane serial-to-Ethernet modules and sets their parameters.
#include "Appearance.h"
#include "CommandLine.h"
#include "MainForm.h"
#include "core/QtOneShotTimer.h"
#include "operations/Trace.h"
#include "protocol/UdpLink.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    kelvane::nameApplication();
    // Help, the version and a card that does not exist are answered before a
    // display is opened, so they work on a console alone.
    const auto early = kelvane::readCommandLine(kelvane::rawArguments(argc, argv), false);
    if (const auto *answer = std::get_if<kelvane::EarlyAnswer>(&early))
        return kelvane::printAnswer(*answer);

    QApplication app(argc, argv);
    const QString chosen = std::get<kelvane::WindowOptions>(early).language;
    kelvane::setUpApplication(kelvane::chooseLanguage(QLocale::system().uiLanguages(), chosen));
    // Qt has taken its own options by now; whatever is left must be ours.
    const auto read = kelvane::readCommandLine(QApplication::arguments());
    if (const auto *answer = std::get_if<kelvane::EarlyAnswer>(&read))
        return kelvane::printAnswer(*answer);
    const kelvane::WindowOptions &options = std::get<kelvane::WindowOptions>(read);

    kelvane::UdpLink link;
    link.setCardNames(options.cards);
    kelvane::QtOneShotTimer timer;
    kelvane::MainForm window(link, timer, &QDateTime::currentDateTime);
    kelvane::Trace trace;
    if (!options.trace.isEmpty()) {
        if (!trace.open(options.trace)) {
            return kelvane::printAnswer({QStringLiteral("kelvane-config: cannot write the trace to %1: %2\n")
                                             .arg(options.trace, trace.errorString()),
                                         2});
        }
        trace.attach(link, window.engine());
    }
    window.show();
    return QApplication::exec();
}
