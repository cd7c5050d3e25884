#include "ProfileCommands.h"

#include "FleetRunner.h"
#include "profiles/Fleet.h"
#include "profiles/Profile.h"
#include "protocol/ParameterNames.h"

#include <QCoreApplication>
#include <QJsonArray>

namespace kelvane::cli {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("kelvane::cli", text);
}

// Scans and reads the module into the session's panel; its values, or the
// exit status with the error written.
std::variant<ParameterValues, int> readModule(const Output &out, Session &session, const DeviceAddress &module)
{
    const std::variant<int, QString> found = session.find(module);
    if (const QString *why = std::get_if<QString>(&found))
        return out.error(Failed, *why);
    if (!session.read(std::get<int>(found)))
        return out.error(Failed, session.lastEntry());
    const Result<ParameterValues, ValueError> shown = ParameterValues::fromPanel(session.panel());
    if (!shown)
        return out.error(Failed, shown.error().message);
    return shown.value();
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

// How a module's job ended, in the word of its progress line.
QString endedWord(const FleetJob &job)
{
    if (job.outcome().result != JobOutcome::Succeeded)
        return resultName(job.outcome().result);
    return job.plan().reset ? tr("restarted") : job.plan().verify ? tr("verified") : tr("written");
}

QString differencesText(const QList<Difference> &differences)
{
    QStringList parts;
    for (const Difference &d : differences)
        parts << QStringLiteral("%1 %2 != %3").arg(parameterKey(*d.parameter), d.expected, d.actual.value_or(QString()));
    return parts.join(QStringLiteral("; "));
}
}  // namespace

int saveCommand(const Output &out, Session &session, const DeviceAddress &module, const QString &file)
{
    const auto values = readModule(out, session, module);
    if (const int *status = std::get_if<int>(&values))
        return *status;
    if (const std::optional<ProfileError> failed = saveProfile(std::get<ParameterValues>(values), file))
        return out.error(Failed, failed->message);
    out.result({{QStringLiteral("module"), module.toHex()}, {QStringLiteral("file"), file}},
               tr("Saved the 17 parameters of %1 to %2.").arg(module.toHex(), file) + QLatin1Char('\n'));
    return Done;
}

int diffCommand(const Output &out, Session &session, const ParameterValues &profile, const DeviceAddress &module)
{
    const auto values = readModule(out, session, module);
    if (const int *status = std::get_if<int>(&values))
        return *status;
    const QList<Difference> differences = compareValues(profile, std::get<ParameterValues>(values));
    QString text;
    for (const Difference &d : differences) {
        text += QStringLiteral("%1 profile %2, module %3\n")
                    .arg(parameterKey(*d.parameter), -16)
                    .arg(d.expected, d.actual.value_or(QString()));
    }
    if (differences.isEmpty())
        text = tr("The module holds every value of the profile.") + QLatin1Char('\n');
    out.result({{QStringLiteral("module"), module.toHex()}, {QStringLiteral("differences"), differencesJson(differences)}},
               text);
    // As diff(1) does: 1 when they differ.
    return differences.isEmpty() ? Done : Failed;
}

int applyCommand(const Output &out, Session &session, const ParameterValues &profile,
                 const QList<DeviceAddress> &given, const ApplyOptions &options)
{
    session.scan();
    if (!session.link().open())
        return out.error(Failed, session.lastEntry());
    const DeviceTable &table = session.engine().machine().deviceTable;
    QList<DeviceAddress> modules = given;
    if (options.all) {
        for (int row = 0; row < table.count(); ++row)
            modules << table.address(row);
        if (modules.isEmpty())
            return out.error(Failed, tr("No module was found on the network."));
    }

    QList<ParameterValues> profiles(modules.size(), profile);
    if (!options.ipFrom.isEmpty()) {
        // Checked before the scan for modules named; with --all only now is the count known.
        const auto numbered = fleetProfiles(profile, options.ipFrom, int(modules.size()));
        if (!numbered)
            return out.error(BadInput, numbered.error().message);
        profiles = numbered.value();
    }

    QList<JobPlan> plans;
    for (int i = 0; i < modules.size(); ++i) {
        const int row = table.indexOf(modules[i]);
        plans.append({modules[i], row < 0 ? QByteArray() : table.entry(row), profiles[i],
                      options.verify || options.reset, options.reset});
    }
    // Each job's engine reads its own module's answers, and the trace says so;
    // a line on standard error tells of each module as it ends.
    session.handOverLink();
    FleetWatch watch;
    if (Trace *trace = session.trace())
        watch.started = [trace](FleetJob &job) { trace->explain(job.engine()); };
    watch.ended = [count = plans.size()](const FleetJob &job, int ended) {
        Output::message(QStringLiteral("kelvane: %1/%2 %3 %4").arg(ended).arg(count).arg(job.plan().module.toHex(),
                                                                                          endedWord(job)));
    };
    const auto jobs = runFleet(session.link(), plans, options.parallel, watch);

    bool allSucceeded = true;
    QJsonArray json;
    QString text = QStringLiteral("%1  %2  %3  %4\n")
                       .arg(tr("MODULE"), -12)
                       .arg(tr("IP ADDRESS"), -15)
                       .arg(tr("RESULT"), -9)
                       .arg(tr("DETAIL"));
    for (const auto &job : jobs) {
        const JobOutcome &outcome = job->outcome();
        allSucceeded = allSucceeded && outcome.result == JobOutcome::Succeeded;
        const QString ip = job->plan().profile.value(*parameterByKey(u"ip_address"));
        const QString detail = outcome.result == JobOutcome::Differs ? differencesText(outcome.differences)
                                                                     : outcome.message;
        QJsonObject entry{{QStringLiteral("module"), job->plan().module.toHex()},
                          {QStringLiteral("result"), resultName(outcome.result)}};
        if (!ip.isEmpty())
            entry.insert(QStringLiteral("ip_address"), ip);
        if (!outcome.message.isEmpty())
            entry.insert(QStringLiteral("message"), outcome.message);
        if (outcome.result == JobOutcome::Differs)
            entry.insert(QStringLiteral("differences"), differencesJson(outcome.differences));
        json.append(entry);
        text += QStringLiteral("%1  %2  %3  %4\n")
                    .arg(job->plan().module.toHex(), -12)
                    .arg(ip.isEmpty() ? QStringLiteral("-") : ip, -15)
                    .arg(resultName(outcome.result), -9)
                    .arg(detail);
    }
    out.result({{QStringLiteral("modules"), json}, {QStringLiteral("succeeded"), allSucceeded}}, text);
    return allSucceeded ? Done : Failed;
}

}  // namespace kelvane::cli
