// SPDX-License-Identifier: Apache-2.0
#include "ProfileCommands.h"

#include "Arguments.h"
#include "CheckCommand.h"
#include "Interruption.h"
#include "ModuleCommands.h"
#include "profiles/Fleet.h"
#include "profiles/FleetRunner.h"
#include "profiles/Profile.h"
#include "protocol/ParameterNames.h"
#include "protocol/ParameterValue.h"

#include <QFileInfo>

#include <algorithm>
#include <QJsonArray>

namespace kelvane::cli {

namespace {
const QCommandLineOption AllOption(QStringLiteral("all"), QT_TRANSLATE_NOOP("kelvane::cli", "Every module the scan finds, in list order."));
const QCommandLineOption IpFromOption(QStringLiteral("ip-from"),
                                      QT_TRANSLATE_NOOP("kelvane::cli", "Give the modules consecutive IP addresses from this one."),
                                      QStringLiteral("A.B.C.D"));
const QCommandLineOption VerifyOption(QStringLiteral("verify"), QT_TRANSLATE_NOOP("kelvane::cli", "Read each module back and compare."));
const QCommandLineOption ResetOption(QStringLiteral("reset"),
                                     QT_TRANSLATE_NOOP("kelvane::cli", "Restart each module after its write was read back as written."));
const QCommandLineOption AlwaysOption(QStringLiteral("always"),
                                      QT_TRANSLATE_NOOP("kelvane::cli", "Write every module, also one that holds the profile already."));
const QCommandLineOption CheckOption(QStringLiteral("check"),
                                     QT_TRANSLATE_NOOP("kelvane::cli", "Read and compare only: say which modules would change, write none."));
const QCommandLineOption NoClobberOption(QStringLiteral("no-clobber"),
                                         QT_TRANSLATE_NOOP("kelvane::cli", "Refuse to replace a file that exists."));
const QCommandLineOption ParallelOption(QStringLiteral("parallel"),
                                        QT_TRANSLATE_NOOP("kelvane::cli", "Work on up to N modules at once (default 8)."),
                                        QStringLiteral("N"), QString::number(DefaultParallel));

QCommandLineOption translated(const QCommandLineOption &option)
{
    QCommandLineOption copy = option;
    copy.setDescription(tr(option.description().toUtf8().constData()));
    return copy;
}

QJsonObject differencesJson(const QList<Difference> &differences)
{
    QJsonObject json;
    for (const Difference &d : differences) {
        json.insert(parameterKey(*d.parameter),
                    QJsonObject{{QStringLiteral("profile"), d.expected},
                                {QStringLiteral("module"), d.actual.value_or(QString())}});
    }
    return json;
}

// What was or would be changed, as "name from -> to" pairs.
QString changesText(const QList<Difference> &changes)
{
    QStringList parts;
    for (const Difference &d : changes)
        parts << QStringLiteral("%1 %2 -> %3")
                     .arg(parameterKey(*d.parameter), valueForPeople(*d.parameter, d.actual.value_or(QString())),
                          valueForPeople(*d.parameter, d.expected));
    return parts.join(QStringLiteral("; "));
}

QJsonObject changesJson(const QList<Difference> &changes)
{
    QJsonObject json;
    for (const Difference &d : changes) {
        json.insert(parameterKey(*d.parameter),
                    QJsonObject{{QStringLiteral("from"), d.actual.value_or(QString())}, {QStringLiteral("to"), d.expected}});
    }
    return json;
}

QString differencesText(const QList<Difference> &differences)
{
    QStringList parts;
    for (const Difference &d : differences)
        parts << QStringLiteral("%1 %2 != %3")
                     .arg(parameterKey(*d.parameter), valueForPeople(*d.parameter, d.expected),
                          valueForPeople(*d.parameter, d.actual.value_or(QString())));
    return parts.join(QStringLiteral("; "));
}

// MODULE FILE or FILE MODULE, the module found by a scan and read.
std::variant<ParameterValues, int> readNamed(Invocation &call, const QString &text)
{
    const auto modules = moduleArguments(call.out, {text});
    if (const int *status = std::get_if<int>(&modules))
        return *status;
    const DeviceAddress module = std::get<QList<DeviceAddress>>(modules).first();
    if (const std::optional<QString> why = call.session().find(module))
        return call.out.error(Failed, *why, outcomeWord(OutcomeKind::NotFound));
    return readModule(call, module);
}
}  // namespace

QList<QCommandLineOption> applyOptions()
{
    return QList<QCommandLineOption>{translated(AllOption),    translated(IpFromOption), translated(VerifyOption),
                                     translated(ResetOption),  translated(AlwaysOption), translated(CheckOption),
                                     translated(ParallelOption), forceOption()} +
           frameRetryOptions();
}

QList<QCommandLineOption> saveOptions()
{
    return QList<QCommandLineOption>{translated(NoClobberOption)} + frameRetryOptions();
}

int saveCommand(Invocation &call)
{
    if (call.arguments.size() != 2)
        return usage(call.out, "save", "MODULE FILE");
    const QString file = call.arguments.at(1);
    // Checked before anything is sent; the file is replaced whole, in one step.
    const bool replacing = QFileInfo::exists(file);
    if (replacing && call.parser.isSet(NoClobberOption))
        return call.out.error(BadInput, tr("%1 exists already; nothing was read or written.").arg(file));
    const auto values = readNamed(call, call.arguments.at(0));
    if (const int *status = std::get_if<int>(&values))
        return *status;
    if (const std::optional<ProfileError> refused = saveProfile(std::get<ParameterValues>(values), file))
        return call.out.error(Failed, refused->message);
    const QString module = DeviceAddress::fromHex(call.arguments.at(0))->toHex();
    call.out.result({{QStringLiteral("module"), module},
                     {QStringLiteral("outcome"), outcomeWord(OutcomeKind::Done)},
                     {QStringLiteral("file"), file},
                     {QStringLiteral("replaced"), replacing}},
                    (replacing ? tr("Saved the 17 parameters of %1 to %2, replacing what it held.")
                               : tr("Saved the 17 parameters of %1 to %2."))
                            .arg(module, file) +
                        QLatin1Char('\n'));
    return Done;
}

int diffCommand(Invocation &call)
{
    if (call.arguments.size() != 2)
        return usage(call.out, "diff", "FILE MODULE");
    const auto profile = profileArgument(call.out, call.arguments.at(0));
    if (const int *status = std::get_if<int>(&profile))
        return *status;
    const auto values = readNamed(call, call.arguments.at(1));
    if (const int *status = std::get_if<int>(&values))
        return *status;
    const QList<Difference> differences = compareValues(std::get<ParameterValues>(profile), std::get<ParameterValues>(values));
    QString text;
    for (const Difference &d : differences) {
        text += QStringLiteral("%1 profile %2, module %3\n")
                    .arg(parameterKey(*d.parameter), -16)
                    .arg(valueForPeople(*d.parameter, d.expected),
                         valueForPeople(*d.parameter, d.actual.value_or(QString())));
    }
    if (differences.isEmpty())
        text = tr("The module holds every value of the profile.") + QLatin1Char('\n');
    const QString module = DeviceAddress::fromHex(call.arguments.at(1))->toHex();
    call.out.result({{QStringLiteral("module"), module},
                     {QStringLiteral("outcome"), outcomeWord(OutcomeKind::Done)},
                     {QStringLiteral("differences"), differencesJson(differences)}},
                    text);
    // As diff(1) does: 1 when they differ.
    return differences.isEmpty() ? Done : Failed;
}

int applyCommand(Invocation &call)
{
    const QCommandLineParser &parser = call.parser;
    const bool all = parser.isSet(AllOption);
    if (call.arguments.isEmpty() || all == (call.arguments.size() > 1))
        return usage(call.out, "apply", "FILE MODULE... | --all");
    const auto loaded = profileArgument(call.out, call.arguments.at(0));
    if (const int *status = std::get_if<int>(&loaded))
        return *status;
    const ParameterValues profile = std::get<ParameterValues>(loaded);
    const auto named = moduleArguments(call.out, call.arguments.mid(1));
    if (const int *status = std::get_if<int>(&named))
        return *status;
    QList<DeviceAddress> modules = std::get<QList<DeviceAddress>>(named);
    bool ok = false;
    const int parallel = parser.value(ParallelOption).toInt(&ok);
    if (!ok || parallel < 1 || parallel > DeviceTableCapacity)
        return call.out.error(BadInput, tr("--parallel takes a number from 1 to %1.").arg(DeviceTableCapacity));
    const QString ipFrom = parser.value(IpFromOption);
    // With --all the count is known after the scan; the start address is not.
    if (parser.isSet(IpFromOption)) {
        const auto addresses = fleetAddresses(ipFrom, all ? 1 : int(modules.size()));
        if (!addresses)
            return call.out.error(BadInput, addresses.error().message);
    }
    const bool reset = parser.isSet(ResetOption);
    const bool verify = parser.isSet(VerifyOption) || reset;
    const bool always = parser.isSet(AlwaysOption);
    const bool check = parser.isSet(CheckOption);
    // --verify and --reset may stay on a checked command line: they say what a
    // real run would do. --always would write, which a check never does.
    if (check && always)
        return call.out.error(BadInput, tr("--check and --always exclude each other."));

    // From here on Ctrl+C stops the work in good order.
    const Interruption interruption;
    Session &session = call.session();
    // With --all, and where addresses are handed out (each is checked against
    // every module on the LAN), the scan must run its course; otherwise the
    // modules named start as they answer, and the scan goes on only while one
    // is still missing.
    const bool wholeScan = all || !ipFrom.isEmpty() || profile.contains(*parameterByKey(u"ip_address"));
    const std::optional<Outcome> unscanned = wholeScan ? std::optional(session.scan()) : session.startScan({modules, 0});
    if (unscanned && unscanned->kind == OutcomeKind::PortUnavailable)
        return failed(call.out, *unscanned);
    const DeviceTable &table = session.engine().deviceTable();
    if (all) {
        for (int row = 0; row < table.count(); ++row)
            modules << table.address(row);
        if (modules.isEmpty())
            return call.out.error(Failed, tr("No module was found on the network."), outcomeWord(OutcomeKind::NotFound));
        // Numbered by address, not by who answered first: the same every run.
        std::sort(modules.begin(), modules.end(),
                  [](const DeviceAddress &a, const DeviceAddress &b) { return a.toHex() < b.toHex(); });
        Output::message(tr("kelvane: %1 modules found").arg(modules.size()));
    }
    QList<ParameterValues> profiles(modules.size(), profile);
    if (!ipFrom.isEmpty()) {
        const auto numbered = fleetProfiles(profile, ipFrom, int(modules.size()));
        if (!numbered)
            return call.out.error(BadInput, numbered.error().message);
        profiles = numbered.value();
    }

    CheckReport checks(call);
    if (const std::optional<int> status = checks.reviewApply(session, modules, profiles))
        return *status;

    QList<JobPlan> plans;
    for (int i = 0; i < modules.size(); ++i) {
        const int row = table.indexOf(modules[i]);
        JobPlan plan{modules[i], row < 0 ? QByteArray() : table.entry(row), profiles[i], verify, reset,
                     checks.forced(), call.retries.attempts, call.retries.timeoutMs, &session.engine()};
        plan.always = always;
        plan.check = check;
        plans.append(plan);
    }
    // Each job's engine reads its own module's answers, and the trace says so;
    // a line on standard error tells of each module as it ends.
    if (all)
        session.handOverLink();
    FleetWatch watch = session.jobWatch();
    watch.ended = [count = plans.size()](const ModuleJob &job, int ended) {
        Output::message(QStringLiteral("kelvane: %1/%2 %3 %4")
                            .arg(ended)
                            .arg(count)
                            .arg(job.plan().module.toHex(), resultName(job.outcome().result)));
    };
    watch.stop = [] {
        if (!Interruption::requested())
            return false;
        static const bool told = [] {
            Output::message(tr("kelvane: stopping: no module is started from now on; those being written are "
                               "finished (Ctrl+C again ends at once)"));
            return true;
        }();
        return told;
    };
    const auto jobs = runFleet(session.link(), plans, parallel, watch);
    const bool refused = checks.reviewJobs(jobs);

    bool allSucceeded = true;
    bool anyChange = false;
    QJsonArray json;
    QString text = QStringLiteral("%1  %2  %3  %4\n")
                       .arg(tr("MODULE"), -12)
                       .arg(tr("IP ADDRESS"), -15)
                       .arg(tr("RESULT"), -12)
                       .arg(tr("DETAIL"));
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const JobPlan &plan = plans.at(qsizetype(i));
        const QString ip = plan.profile.value(*parameterByKey(u"ip_address"));
        const QString ipText = ip.isEmpty() ? QStringLiteral("-") : ip;
        if (!jobs[i]) {
            // Ctrl+C came before this module's turn: nothing was sent to it.
            allSucceeded = false;
            QJsonObject entry{{QStringLiteral("address"), plan.module.toHex()},
                              {QStringLiteral("result"), resultName(JobOutcome::NotStarted)},
                              {QStringLiteral("changed"), false}};
            if (!ip.isEmpty())
                entry.insert(QStringLiteral("ip_address"), ip);
            json.append(entry);
            text += QStringLiteral("%1  %2  %3  %4\n")
                        .arg(plan.module.toHex(), -12)
                        .arg(ipText, -15)
                        .arg(resultName(JobOutcome::NotStarted), -12)
                        .arg(tr("stopped by Ctrl+C before its turn"));
            continue;
        }
        const JobOutcome &outcome = jobs[i]->outcome();
        allSucceeded = allSucceeded && outcome.succeeded();
        // A module written though it held the profile (--always) changed no value.
        const bool changed = !outcome.changes.isEmpty();
        anyChange = anyChange || changed;
        QString message = outcome.message;
        if (outcome.result == JobOutcome::Differs) {
            message = tr("Module %1 was read back otherwise than written: %2.")
                          .arg(plan.module.toHex(), differencesText(outcome.differences));
        }
        QJsonObject entry{{QStringLiteral("address"), plan.module.toHex()},
                          {QStringLiteral("result"), resultName(outcome.result)},
                          {QStringLiteral("changed"), changed},
                          {QStringLiteral("changes"), changesJson(outcome.changes)}};
        if (outcome.ended && outcome.result == JobOutcome::Failed)
            entry.insert(QStringLiteral("outcome"), outcomeWord(outcome.ended->kind));
        if (!ip.isEmpty())
            entry.insert(QStringLiteral("ip_address"), ip);
        if (!message.isEmpty())
            entry.insert(QStringLiteral("message"), message);
        if (outcome.result == JobOutcome::Differs)
            entry.insert(QStringLiteral("differences"), differencesJson(outcome.differences));
        json.append(entry);
        const QString detail = outcome.result == JobOutcome::Differs ? differencesText(outcome.differences)
                               : outcome.succeeded()                 ? changesText(outcome.changes)
                                                                     : outcome.message;
        text += QStringLiteral("%1  %2  %3  %4\n")
                    .arg(plan.module.toHex(), -12)
                    .arg(ipText, -15)
                    .arg(resultName(outcome.result), -12)
                    .arg(detail);
    }
    call.out.result({{QStringLiteral("modules"), json}, {QStringLiteral("succeeded"), allSucceeded}}, text);
    if (Interruption::requested())
        return Interrupted;
    if (refused)
        return BadInput;
    // A check exits as diff does: 1 when some module would change.
    if (check)
        return allSucceeded && !anyChange ? Done : Failed;
    return allSucceeded ? Done : Failed;
}

}  // namespace kelvane::cli
