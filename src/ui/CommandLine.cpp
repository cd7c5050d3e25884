// SPDX-License-Identifier: Apache-2.0
#include "CommandLine.h"

#include "core/Language.h"
#include "protocol/NetworkCards.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace kelvane {

namespace {
constexpr int BadInput = 2;
}  // namespace

std::variant<WindowOptions, EarlyAnswer> readCommandLine(const QStringList &arguments, bool strict)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Finds Kelvane serial-to-Ethernet modules on the local network and sets their parameters."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption cards = interfaceOption();
    const QCommandLineOption trace(QStringLiteral("trace"),
                                   QStringLiteral("Write every datagram sent and received to FILE."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption language = languageOption();
    parser.addOptions({cards, trace, language});

    const bool parsed = parser.parse(arguments);
    const QString name = QCoreApplication::applicationName();
    if (parser.isSet(help)) {
        // Without an application object the parser cannot name the program itself.
        QString text = parser.helpText();
        text.replace(QLatin1String("<executable_name>"), name);
        return EarlyAnswer{text, 0};
    }
    if (parser.isSet(version))
        return EarlyAnswer{name + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n'), 0};
    const WindowOptions options{parser.values(cards), parser.value(trace), parser.value(language)};
    if (parsed && parser.isSet(language) && !languageNamed(options.language)) {
        return EarlyAnswer{name + QLatin1String(": --lang takes zh or en, not ") + options.language + QLatin1Char('\n'),
                      BadInput};
    }
    if (const std::optional<QString> wrong = checkCardNames(systemInterfaces(), options.cards))
        return EarlyAnswer{name + QLatin1String(": ") + *wrong + QLatin1Char('\n'), BadInput};
    // Before QApplication, only an option Qt may know is let through; a
    // missing value is a mistake either way.
    const bool onlyUnknown = !parser.unknownOptionNames().isEmpty();
    if (!strict && (parsed || onlyUnknown))
        return options;
    if (!parsed)
        return EarlyAnswer{name + QLatin1String(": ") + parser.errorText() + QLatin1Char('\n'), BadInput};
    if (!parser.positionalArguments().isEmpty()) {
        return EarlyAnswer{name + QLatin1String(": unexpected argument: ") + parser.positionalArguments().constFirst()
                          + QLatin1Char('\n'),
                      BadInput};
    }
    return options;
}

QStringList rawArguments(int argc, const char *const *argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int printAnswer(const EarlyAnswer &answer)
{
    std::fputs(answer.text.toLocal8Bit().constData(), answer.exitStatus == 0 ? stdout : stderr);
    return answer.exitStatus;
}

}  // namespace kelvane
