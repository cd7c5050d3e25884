#include "Commands.h"

#include "Output.h"
#include "ProfileCommands.h"
#include "Session.h"
#include "core/Language.h"
#include "profiles/Fleet.h"
#include "profiles/Profile.h"
#include "protocol/NetworkCards.h"
#include "protocol/ParameterNames.h"
#include "protocol/ParameterValue.h"
#include "protocol/ParameterValues.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QLocale>

namespace kelvane::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("kelvane::cli", text);
}

struct Command {
    const char *name;
    const char *arguments;
    const char *summary;
};

const Command Commands[] = {
    {"scan", "", QT_TRANSLATE_NOOP("kelvane::cli", "Find every module (four discovery rounds) and list them.")},
    {"read", "MODULE", QT_TRANSLATE_NOOP("kelvane::cli", "Read the module's 17 parameters.")},
    {"write", "MODULE NAME=VALUE...",
     QT_TRANSLATE_NOOP("kelvane::cli", "Read the module, change the named parameters, write all 17.")},
    {"defaults", "MODULE", QT_TRANSLATE_NOOP("kelvane::cli", "Restore the module's factory settings.")},
    {"reset", "MODULE", QT_TRANSLATE_NOOP("kelvane::cli", "Restart the module.")},
    {"save", "MODULE FILE", QT_TRANSLATE_NOOP("kelvane::cli", "Save the module's 17 parameters as a profile.")},
    {"apply", "FILE MODULE... | --all [--ip-from A.B.C.D] [--verify] [--reset] [--parallel N]",
     QT_TRANSLATE_NOOP("kelvane::cli",
                       "Write the profile's parameters to each module, several at once, and list how each went.")},
    {"diff", "FILE MODULE", QT_TRANSLATE_NOOP("kelvane::cli", "Show where the module differs from the profile.")},
};

const Command *findCommand(const QString &name)
{
    for (const Command &c : Commands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
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

QString generalHelp(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    text += QLatin1Char('\n') + tr("Commands:") + QLatin1Char('\n');
    for (const Command &c : Commands)
        text += QStringLiteral("  %1 %2\n      %3\n")
                    .arg(QLatin1String(c.name), QLatin1String(c.arguments), tr(c.summary));
    text += QLatin1Char('\n') +
            tr("MODULE is a module's address as the list shows it: 12 hex digits, e.g. 024B56000001.\n"
               "Exit status: 0 done, 1 the module did not answer, refused or the operation failed,\n"
               "2 bad command line or value (nothing was sent).\n"
               "Run 'kelvane COMMAND --help' for a command's own help.\n");
    return text;
}

QString commandHelp(const Command &c)
{
    QString text = QStringLiteral("Usage: kelvane %1 %2 [--json] [--trace FILE] [--interface NAME]...\n%3\n")
                       .arg(QLatin1String(c.name), QLatin1String(c.arguments), tr(c.summary));
    if (QLatin1String(c.name) == QLatin1String("read") || QLatin1String(c.name) == QLatin1String("write"))
        text += QLatin1Char('\n') + parameterHelp();
    return text;
}

QJsonObject moduleJson(Session &session, int row)
{
    const DeviceAddress address = session.engine().machine().deviceTable.address(row);
    QJsonObject module{{QStringLiteral("position"), row + 1}, {QStringLiteral("address"), address.toHex()}};
    if (const std::optional<ModuleRoute> route = session.link().routeOf(address)) {
        module.insert(QStringLiteral("card"), route->card.name);
        module.insert(QStringLiteral("card_address"), route->card.address.toString());
        module.insert(QStringLiteral("source"), route->peer.toString());
    }
    return module;
}

QString valuesText(const ParameterValues &values)
{
    QString text;
    for (const Parameter *p : values.parameters())
        text += QStringLiteral("%1 %2\n").arg(parameterKey(*p), -16).arg(values.value(*p));
    return text;
}

// One command's run, from checked arguments to the exit status.
class Run {
public:
    Run(const Output &out, Session &session) : m_out(out), m_session(session)
    {
        QObject::connect(&session.engine(), &Engine::datagramHandled, &session.engine(),
                         [this](const QByteArray &, const QString &) { progress(); });
    }

    int scan()
    {
        m_doing = tr("scanning");
        m_session.scan();
        // Finding nothing is an answer too; a port that cannot be had is not.
        if (!m_session.link().open())
            return m_out.error(Failed, m_session.lastEntry());
        m_progress.show({});
        QJsonArray modules;
        QString text;
        for (int row = 0; row < m_session.engine().machine().deviceTable.count(); ++row) {
            const QJsonObject module = moduleJson(m_session, row);
            modules.append(module);
            text += QStringLiteral("%1  %2  %3 %4  %5\n")
                        .arg(row + 1, 3)
                        .arg(module.value(QStringLiteral("address")).toString(),
                             module.value(QStringLiteral("card")).toString(),
                             module.value(QStringLiteral("card_address")).toString(),
                             module.value(QStringLiteral("source")).toString());
        }
        if (modules.isEmpty())
            Output::message(m_session.lastEntry());
        m_out.result({{QStringLiteral("modules"), modules}}, text);
        return Done;
    }

    // Scans and finds the module; its row, or -1 with the error written.
    int find(const DeviceAddress &module)
    {
        m_doing = tr("scanning");
        const std::variant<int, QString> found = m_session.find(module);
        if (const QString *why = std::get_if<QString>(&found)) {
            m_status = m_out.error(Failed, *why);
            return -1;
        }
        return std::get<int>(found);
    }

    // Reads the row into the panel; false with the error written.
    bool read(int row)
    {
        m_doing = tr("reading");
        if (m_session.read(row))
            return true;
        m_status = m_out.error(Failed, m_session.lastEntry());
        return false;
    }

    int status() const { return m_status; }

    int printRead(const DeviceAddress &module)
    {
        m_progress.show({});
        const Result<ParameterValues, ValueError> shown = ParameterValues::fromPanel(m_session.panel());
        if (!shown)
            return m_out.error(Failed, shown.error().message);
        m_out.result({{QStringLiteral("module"), module.toHex()},
                      {QStringLiteral("parameters"), shown.value().toJson()}},
                     valuesText(shown.value()));
        return Done;
    }

    int write(const DeviceAddress &module, const ParameterValues &changes)
    {
        const Result<ParameterValues, ValueError> before = ParameterValues::fromPanel(m_session.panel());
        if (!before)
            return m_out.error(Failed, before.error().message);
        ParameterValues target = before.value();
        target.merge(changes);
        target.applyTo(m_session.panel());
        m_doing = tr("writing");
        if (!m_session.write())
            return m_out.error(Failed, m_session.lastEntry());
        m_progress.show({});
        QJsonObject changed;
        QString text;
        for (const Difference &d : compareValues(target, before.value())) {
            const QString key = parameterKey(*d.parameter);
            const QString from = d.actual.value_or(QString());
            changed.insert(key, QJsonObject{{QStringLiteral("from"), from}, {QStringLiteral("to"), d.expected}});
            text += QStringLiteral("%1 %2 -> %3\n").arg(key, -16).arg(from, d.expected);
        }
        if (text.isEmpty())
            text = tr("Nothing changed; all 17 parameters were written.") + QLatin1Char('\n');
        m_out.result({{QStringLiteral("module"), module.toHex()}, {QStringLiteral("changed"), changed}}, text);
        return Done;
    }

    int simple(const DeviceAddress &module, bool succeeded)
    {
        m_progress.show({});
        if (!succeeded)
            return m_out.error(Failed, m_session.lastEntry());
        m_out.result({{QStringLiteral("module"), module.toHex()}, {QStringLiteral("result"), m_session.lastEntry()}},
                     m_session.lastEntry() + QLatin1Char('\n'));
        return Done;
    }

private:
    void progress()
    {
        const Machine &m = m_session.engine().machine();
        if (m.Step == 0)
            m_progress.show(tr("%1: %2 found").arg(m_doing).arg(m.deviceTable.count()));
        else if (m.Step <= ParameterCount)
            m_progress.show(tr("%1: %2/17").arg(m_doing).arg(m.Step - 1));
        else if (m.Step > WriteBase)
            m_progress.show(tr("%1: %2/17").arg(m_doing).arg(m.Step - WriteBase - 1));
    }

    const Output &m_out;
    Session &m_session;
    Progress m_progress;
    QString m_doing;
    int m_status = Done;
};
}  // namespace

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
    const QCommandLineOption all(QStringLiteral("all"), tr("apply: every module the scan finds, in list order."));
    const QCommandLineOption ipFrom(QStringLiteral("ip-from"),
                                    tr("apply: give the modules consecutive IP addresses from this one."),
                                    QStringLiteral("A.B.C.D"));
    const QCommandLineOption verify(QStringLiteral("verify"), tr("apply: read each module back and compare."));
    const QCommandLineOption restart(QStringLiteral("reset"),
                                     tr("apply: restart each module after its write was read back as written."));
    const QCommandLineOption parallel(QStringLiteral("parallel"),
                                      tr("apply: work on up to N modules at once (default %1).").arg(DefaultParallel),
                                      QStringLiteral("N"), QString::number(DefaultParallel));
    const QCommandLineOption language = languageOption();
    parser.addOptions({help, version, json, trace, cards, language, all, ipFrom, verify, restart, parallel});
    parser.addPositionalArgument(QStringLiteral("command"), tr("scan, read, write, defaults, reset, save, apply or diff"),
                                 QStringLiteral("COMMAND [ARGUMENTS...]"));

    const Output out(arguments.contains(QStringLiteral("--json")));
    if (!parser.parse(arguments))
        return out.error(BadInput, parser.errorText() + QLatin1Char('\n') + tr("Try 'kelvane --help'."));
    const QStringList positional = parser.positionalArguments();
    const Command *command = positional.isEmpty() ? nullptr : findCommand(positional.first());
    if (parser.isSet(help)) {
        Output(false).result({}, command ? commandHelp(*command) : generalHelp(parser));
        return Done;
    }
    if (parser.isSet(version)) {
        Output(false).result({}, QStringLiteral("kelvane %1\n").arg(QCoreApplication::applicationVersion()));
        return Done;
    }
    // Our own messages stay English; the engine's status entries follow the language.
    const QString chosen = parser.value(language);
    if (parser.isSet(language) && !languageNamed(chosen))
        return out.error(BadInput, tr("--lang takes zh or en, not '%1'.").arg(chosen));
    installTranslators(chooseLanguage(QLocale::system().uiLanguages(), chosen));
    if (positional.isEmpty())
        return out.error(BadInput, tr("No command given.") + QLatin1Char('\n') + tr("Try 'kelvane --help'."));
    if (!command)
        return out.error(BadInput, tr("Unknown command '%1'; the commands are scan, read, write, defaults, reset, save, apply and diff.")
                                       .arg(positional.first()));

    // Everything is checked before the first datagram goes out.
    const QString name = QLatin1String(command->name);
    const QStringList rest = positional.mid(1);
    const QStringList cardNames = parser.values(cards);
    if (const std::optional<QString> wrong = checkCardNames(systemInterfaces(), cardNames))
        return out.error(BadInput, *wrong);
    const bool isApply = name == QLatin1String("apply");
    for (const QCommandLineOption *option : {&all, &ipFrom, &verify, &restart, &parallel}) {
        if (!isApply && parser.isSet(*option))
            return out.error(BadInput, tr("--%1 belongs to apply only.").arg(option->names().first()));
    }
    const auto usage = [&] {
        return out.error(BadInput, QStringLiteral("Usage: kelvane %1 %2").arg(name, QLatin1String(command->arguments)));
    };
    const bool save = name == QLatin1String("save");
    const bool withProfile = save || isApply || name == QLatin1String("diff");
    const bool takesModule = name != QLatin1String("scan");
    const bool takesValues = name == QLatin1String("write");
    if (withProfile ? (isApply ? rest.isEmpty() : rest.size() != 2)
                    : (!takesModule && !rest.isEmpty()) || (takesModule && rest.isEmpty()) ||
                          (takesModule && !takesValues && rest.size() != 1) || (takesValues && rest.size() < 2))
        return usage();

    // The modules named: the first argument, save's first, or all but apply's and diff's file.
    const QString file = !withProfile ? QString() : save ? rest.at(1) : rest.at(0);
    const QStringList moduleTexts = !withProfile ? rest.mid(0, takesModule ? 1 : 0) : save ? rest.mid(0, 1) : rest.mid(1);
    QList<DeviceAddress> modules;
    for (const QString &text : moduleTexts) {
        const std::optional<DeviceAddress> module = DeviceAddress::fromHex(text);
        if (!module)
            return out.error(BadInput,
                             tr("'%1' is no module address: give its 12 hex digits, e.g. 024B56000001.").arg(text));
        if (modules.contains(*module))
            return out.error(BadInput, tr("Module %1 is named twice.").arg(module->toHex()));
        modules << *module;
    }
    ParameterValues values;  // write's changes, or the profile of apply and diff
    for (const QString &assignment : takesValues ? rest.mid(1) : QStringList()) {
        const Result<Assignment, ValueError> parsed = parseAssignment(assignment);
        if (!parsed)
            return out.error(BadInput, parsed.error().message);
        values.set(*parsed.value().parameter, parsed.value().value);
    }
    if (withProfile && !save) {
        const Result<ParameterValues, ProfileError> loaded = loadProfile(file);
        if (!loaded)
            return out.error(BadInput, loaded.error().message);
        values = loaded.value();
    }
    ApplyOptions options;
    if (isApply) {
        options.all = parser.isSet(all);
        if (options.all == !modules.isEmpty())
            return usage();
        options.ipFrom = parser.value(ipFrom);
        options.verify = parser.isSet(verify);
        options.reset = parser.isSet(restart);
        bool ok = false;
        options.parallel = parser.value(parallel).toInt(&ok);
        if (!ok || options.parallel < 1 || options.parallel > DeviceTableCapacity)
            return out.error(BadInput, tr("--parallel takes a number from 1 to %1.").arg(DeviceTableCapacity));
        // With --all the count is known after the scan; the start address is not.
        if (parser.isSet(ipFrom)) {
            const auto addresses = fleetAddresses(options.ipFrom, options.all ? 1 : int(modules.size()));
            if (!addresses)
                return out.error(BadInput, addresses.error().message);
        }
    }

    Session session;
    session.link().setCardNames(cardNames);
    if (parser.isSet(trace)) {
        if (const std::optional<QString> why = session.traceTo(parser.value(trace)))
            return out.error(BadInput, tr("Cannot write the trace to %1: %2").arg(parser.value(trace), *why));
    }
    if (save)
        return saveCommand(out, session, modules.first(), file);
    if (isApply)
        return applyCommand(out, session, values, modules, options);
    if (withProfile)
        return diffCommand(out, session, values, modules.first());

    Run runner(out, session);
    if (!takesModule)
        return runner.scan();
    const DeviceAddress module = modules.first();
    const int row = runner.find(module);
    if (row < 0)
        return runner.status();
    if (name == QLatin1String("defaults"))
        return runner.simple(module, session.restoreDefaults(row));
    if (name == QLatin1String("reset"))
        return runner.simple(module, session.reset(row));
    if (!runner.read(row))
        return runner.status();
    if (name == QLatin1String("read"))
        return runner.printRead(module);
    return runner.write(module, values);
}

}  // namespace kelvane::cli
