// kelvane-config: finds Kelvane serial-to-Ethernet modules and sets their parameters.
#include "Appearance.h"
#include "InterfaceOption.h"
#include "MainForm.h"
#include "core/QtOneShotTimer.h"
#include "protocol/UdpLink.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The command line is read before the application exists, so that a
    // mistake is told without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Finds Kelvane modules on every network card and sets their parameters."));
    parser.addHelpOption();
    parser.addVersionOption();
    kelvane::addInterfaceOption(parser);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "kelvane-config: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        // Without an application the parser does not know the program's name.
        QString help = parser.helpText();
        help.replace(QStringLiteral("<executable_name>"), QStringLiteral("kelvane-config"));
        std::fputs(qPrintable(help), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::puts("kelvane-config " KELVANE_VERSION);
        return 0;
    }
    const auto names = kelvane::interfaceNames(parser);
    if (const auto *error = std::get_if<QString>(&names)) {
        std::fprintf(stderr, "kelvane-config: %s\n", qPrintable(*error));
        return 2;
    }

    QApplication app(argc, argv);
    kelvane::setUpApplication();

    kelvane::UdpLink link;
    link.setCardNames(std::get<QStringList>(names));
    kelvane::QtOneShotTimer timer;
    kelvane::MainForm window(link, timer, &QDateTime::currentDateTime);
    window.show();
    return QApplication::exec();
}
