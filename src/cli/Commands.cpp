// SPDX-License-Identifier: Apache-2.0
#include "Commands.h"

#include "Arguments.h"
#include "Completion.h"
#include "CheckCommand.h"
#include "ModuleCommands.h"
#include "ProfileCommands.h"
#include "core/Language.h"
#include "protocol/NetworkCards.h"
#include "protocol/ParameterNames.h"
#include "protocol/ParameterValue.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <memory>

namespace kelvane::cli {

QString tr(const char *text)
{
    return QCoreApplication::translate("kelvane::cli", text);
}

namespace {
QList<QCommandLineOption> none()
{
    return {};
}

// Every parameter and what it accepts, for the help of read and write.
QString parameterHelp()
{
    QString text = tr("Parameters (NAME=VALUE):") + QLatin1Char('\n');
    for (const Parameter &p : catalogue()) {
        QString accepts;
        switch (p.kind) {
        case ValueKind::Choice: {
            QStringList spellings;
            for (int i = 0; i < p.items.size(); ++i) {
                const QStringList names = itemSpellings(p, i);
                spellings << (names.size() > 1 ? QStringLiteral("%1 (%2)").arg(names[0], names[1]) : names[0]);
            }
            accepts = spellings.join(QStringLiteral(", ")) + QLatin1Char(' ') +
                      tr("(or the item's index, 0 to %1)").arg(p.items.size() - 1);
            break;
        }
        case ValueKind::Text:
            accepts = tr("text of single-byte characters");
            break;
        case ValueKind::StartMode:
            accepts = startModeNames().join(QStringLiteral(", "));
            break;
        }
        text += QStringLiteral("  %1 %2\n").arg(parameterKey(p), -16).arg(accepts);
    }
    return text;
}

const Command *findCommand(const QString &name)
{
    for (const Command &c : commands()) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

QString commandNames()
{
    QStringList names;
    for (const Command &c : commands())
        names << QLatin1String(c.name);
    return names.join(QStringLiteral(", "));
}

// Qt's help starts "Usage: PATH [options] ...": the program's name reads better than its path.
QString helpText(const QCommandLineParser &parser, const QString &usage)
{
    QString text = parser.helpText();
    return QStringLiteral("Usage: ") + usage + text.mid(text.indexOf(QLatin1Char('\n')));
}

QString generalHelp(const QCommandLineParser &parser)
{
    QString text = helpText(parser, QStringLiteral("kelvane [options] COMMAND [ARGUMENTS...]"));
    text += QLatin1Char('\n') + tr("Commands:") + QLatin1Char('\n');
    for (const Command &c : commands())
        text += QStringLiteral("  %1 %2\n      %3\n")
                    .arg(QLatin1String(c.name), QLatin1String(c.arguments), tr(c.summary));
    text += QLatin1Char('\n') +
            tr("MODULE is a module's address as the list shows it: 12 hex digits, e.g. 024B56000001.\n"
               "A command that names modules stops looking once they have all answered: one discovery\n"
               "request, and more 400 ms apart only while one is missing, four at most.\n"
               "Exit status: 0 done, 1 the module did not answer, refused or the operation failed,\n"
               "2 bad command line or value (nothing was sent).\n"
               "Run 'kelvane COMMAND --help' for a command's own help.\n");
    return text;
}

QString commandHelp(const Command &c, const QCommandLineParser &parser)
{
    QString text = helpText(parser, QStringLiteral("kelvane %1 [options] %2").arg(QLatin1String(c.name), QLatin1String(c.arguments)));
    text += QLatin1Char('\n') + tr(c.summary) + QLatin1Char('\n');
    if (QLatin1String(c.name) == QLatin1String("read") || QLatin1String(c.name) == QLatin1String("write"))
        text += QLatin1Char('\n') + parameterHelp();
    return text;
}
}  // namespace

const QList<Command> &commands()
{
    static const QList<Command> table = {
        {"scan", "", QT_TRANSLATE_NOOP("kelvane::cli", "Find every module (four discovery rounds) and list them."),
         scanOptions, scanCommand},
        {"read", "MODULE", QT_TRANSLATE_NOOP("kelvane::cli", "Read the module's 17 parameters."), frameRetryOptions,
         readCommand},
        {"write", "MODULE NAME=VALUE...",
         QT_TRANSLATE_NOOP("kelvane::cli", "Read the module, change the named parameters, write all 17."),
         writeOptions, writeCommand},
        {"defaults", "MODULE", QT_TRANSLATE_NOOP("kelvane::cli", "Restore the module's factory settings."), none,
         defaultsCommand},
        {"reset", "MODULE", QT_TRANSLATE_NOOP("kelvane::cli", "Restart the module."), none, resetCommand},
        {"save", "MODULE FILE", QT_TRANSLATE_NOOP("kelvane::cli", "Save the module's 17 parameters as a profile."),
         saveOptions, saveCommand},
        {"apply", "FILE MODULE... | --all",
         QT_TRANSLATE_NOOP("kelvane::cli",
                           "Write the profile's parameters to each module, several at once, and list how each went."),
         applyOptions, applyCommand},
        {"diff", "FILE MODULE", QT_TRANSLATE_NOOP("kelvane::cli", "Show where the module differs from the profile."),
         frameRetryOptions, diffCommand},
        {"check", "FILE | MODULE",
         QT_TRANSLATE_NOOP("kelvane::cli",
                           "Check a profile, or the module's current settings, against the settings rules."),
         none, checkCommand},
    };
    return table;
}

int run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Finds Kelvane serial-to-Ethernet modules on the local network and reads, writes, "
           "restores and restarts them, as the kelvane-config window does."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, tr("Show this help, or a command's."));
    const QCommandLineOption version(QStringLiteral("version"), tr("Show the version."));
    const QCommandLineOption json(QStringLiteral("json"), tr("Answer with one JSON document on standard output."));
    const QCommandLineOption trace(QStringLiteral("trace"), tr("Write every datagram sent and received to FILE."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption cards = interfaceOption();
    const QCommandLineOption language = languageOption();
    // Hidden: for the package's build, which installs what it prints.
    QCommandLineOption completion(QStringLiteral("completion"), tr("Print the completion script for SHELL (bash)."),
                                  QStringLiteral("SHELL"));
    completion.setFlags(QCommandLineOption::HiddenFromHelp);
    const QList<QCommandLineOption> common{help, version, json, trace, cards, language, completion};
    parser.addOptions(common);
    parser.addPositionalArgument(QStringLiteral("command"), tr("scan, read, write, defaults, reset, save, apply, diff or check"),
                                 QStringLiteral("COMMAND [ARGUMENTS...]"));

    // The first pass finds the command; its own options join for the second.
    const Output out(arguments.contains(QStringLiteral("--json")));
    parser.parse(arguments);
    const QStringList found = parser.positionalArguments();
    const Command *command = found.isEmpty() ? nullptr : findCommand(found.first());
    if (command)
        parser.addOptions(command->options());
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        Output(false).result({}, command ? commandHelp(*command, parser) : generalHelp(parser));
        return Done;
    }
    if (parser.isSet(version)) {
        Output(false).result({}, QStringLiteral("kelvane %1\n").arg(QCoreApplication::applicationVersion()));
        return Done;
    }
    if (parser.isSet(completion)) {
        if (parser.value(completion) != QLatin1String("bash"))
            return out.error(BadInput, tr("--completion takes bash, not '%1'.").arg(parser.value(completion)));
        Output(false).result({}, bashCompletion(common, commands()));
        return Done;
    }
    if (!parsed)
        return out.error(BadInput, parser.errorText() + QLatin1Char('\n') + tr("Try 'kelvane --help'."));
    // Our own messages stay English; the engine's status entries follow the language.
    const QString chosen = parser.value(language);
    if (parser.isSet(language) && !languageNamed(chosen))
        return out.error(BadInput, tr("--lang takes zh or en, not '%1'.").arg(chosen));
    // A C or POSIX locale is a script's or a server's: there the command line
    // speaks English, while the window keeps its Chinese.
    const bool plainLocale = QLocale::system().language() == QLocale::C;
    installTranslators(!parser.isSet(language) && plainLocale
                           ? Language::English
                           : chooseLanguage(QLocale::system().uiLanguages(), chosen));
    if (found.isEmpty())
        return out.error(BadInput, tr("No command given.") + QLatin1Char('\n') + tr("Try 'kelvane --help'."));
    if (!command)
        return out.error(BadInput,
                         tr("Unknown command '%1'; the commands are %2.").arg(found.first(), commandNames()));

    const QStringList cardNames = parser.values(cards);
    if (const std::optional<QString> wrong = checkCardNames(systemInterfaces(), cardNames))
        return out.error(BadInput, *wrong);
    FrameRetries retries;
    const QList<QCommandLineOption> own = command->options();
    if (std::any_of(own.begin(), own.end(), [](const QCommandLineOption &o) { return o.names().contains(QStringLiteral("attempts")); })) {
        const auto given = frameRetryArguments(out, parser);
        if (const int *status = std::get_if<int>(&given))
            return *status;
        retries = std::get<FrameRetries>(given);
    }
    // Made when a command has checked its arguments and is about to send.
    std::unique_ptr<Session> session;
    std::optional<QString> traceFailure;
    Invocation call{parser, parser.positionalArguments().mid(1), out, retries, [&]() -> Session & {
        if (!session) {
            session = std::make_unique<Session>();
            session->engine().retryEachFrame(retries.attempts, retries.timeoutMs, SettleMs);
            session->link().setCardNames(cardNames);
            if (parser.isSet(trace))
                traceFailure = session->traceTo(parser.value(trace));
        }
        return *session;
    }};
    // A trace that cannot be written is bad input: checked before any command sends.
    if (parser.isSet(trace)) {
        call.session();
        if (traceFailure)
            return out.error(BadInput, tr("Cannot write the trace to %1: %2").arg(parser.value(trace), *traceFailure));
    }
    return command->run(call);
}

}  // namespace kelvane::cli
