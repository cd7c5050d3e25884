// SPDX-License-Identifier: Apache-2.0
#include "CheckCommand.h"

#include "Arguments.h"
#include "ModuleCommands.h"
#include "profiles/LanCheck.h"
#include "protocol/ParameterNames.h"

#include <QFileInfo>
#include <QJsonArray>

#include <algorithm>

namespace kelvane::cli {

namespace {
bool isRefused(const Finding &finding)
{
    return finding.severity == Finding::Severity::Refused;
}

QString severityWord(const Finding &finding)
{
    return isRefused(finding) ? QStringLiteral("refused") : QStringLiteral("warned");
}

QJsonObject findingJson(const Finding &finding)
{
    QJsonObject json{{QStringLiteral("severity"), severityWord(finding)},
                     {QStringLiteral("rule"), finding.rule},
                     {QStringLiteral("message"), finding.message}};
    if (finding.parameter) {
        json.insert(QStringLiteral("parameter"), parameterKey(*finding.parameter));
        json.insert(QStringLiteral("value"), finding.value);
    }
    if (!finding.module.isEmpty())
        json.insert(QStringLiteral("module"), finding.module);
    return json;
}

// The outcome of an error a check refused, for JSON.
QString refusedWord()
{
    return QStringLiteral("refused-by-check");
}

QString findingLine(const QString &severity, const QString &rule, const QString &message)
{
    return QStringLiteral("%1  %2  %3\n").arg(severity, -7).arg(rule, -22).arg(message);
}
}  // namespace

QCommandLineOption forceOption()
{
    return QCommandLineOption(QStringLiteral("force"),
                              tr("Write even what the settings checks refuse (they still tell of it)."));
}

QList<QCommandLineOption> writeOptions()
{
    return QList<QCommandLineOption>{forceOption()} + frameRetryOptions();
}

CheckReport::CheckReport(const Invocation &call) : m_out(call.out), m_force(call.parser.isSet(forceOption())) {}

void CheckReport::tell(const QString &prefix, const QString &message)
{
    if (m_told.contains(message))
        return;
    m_told.insert(message);
    Output::message(QStringLiteral("kelvane: %1: %2").arg(prefix, message));
}

std::optional<int> CheckReport::review(const QList<Finding> &findings, bool tellWarnings)
{
    QStringList refused;
    for (const Finding &finding : findings) {
        if (isRefused(finding) && !m_force) {
            if (!refused.contains(finding.message))
                refused << finding.message;
        } else if (tellWarnings || isRefused(finding)) {
            tell(isRefused(finding) ? tr("written all the same (--force)") : tr("warning"), finding.message);
        }
    }
    if (refused.isEmpty())
        return std::nullopt;
    for (const QString &message : refused)
        m_told.insert(message);
    return m_out.error(BadInput,
                       tr("Refused, nothing was written: %1. With --force it is written all the same.")
                           .arg(refused.join(QStringLiteral("; "))),
                       refusedWord());
}

std::optional<int> CheckReport::reviewApply(Session &session, const QList<DeviceAddress> &modules,
                                            const QList<ParameterValues> &profiles)
{
    // The profiles' warnings are told once the jobs have merged them with what each module holds.
    QList<Finding> settings;
    for (const ParameterValues &profile : profiles)
        settings += checkSettings(profile);
    const QList<Finding> addresses =
        checkHandedOutAddresses(session.engine().deviceTable(), session.link(), modules, profiles);
    QList<Finding> refused = addresses;
    for (const Finding &finding : settings) {
        if (isRefused(finding))
            refused.append(finding);
    }
    return review(refused);
}

bool CheckReport::reviewJobs(const std::vector<std::unique_ptr<ModuleJob>> &jobs)
{
    bool refused = false;
    for (const auto &job : jobs) {
        if (!job)
            continue;  // never started
        const JobOutcome &outcome = job->outcome();
        refused = refused || outcome.result == JobOutcome::Refused;
        // A refused job's message names what it refused.
        if (outcome.result == JobOutcome::Refused)
            continue;
        for (const Finding &finding : outcome.findings)
            tell(isRefused(finding) ? tr("written all the same (--force)") : tr("warning"), finding.message);
    }
    return refused;
}

int checkCommand(Invocation &call)
{
    if (call.arguments.size() != 1)
        return usage(call.out, "check", "FILE | MODULE");
    const QString named = call.arguments.first();
    // A file of that name is a profile, whatever it is called.
    const std::optional<DeviceAddress> module =
        QFileInfo::exists(named) ? std::nullopt : DeviceAddress::fromHex(named);

    ParameterValues values;
    QList<ModuleWarning> heard;
    if (module) {
        // Its scan warnings compare it with every other module: the whole scan, not
        // only until it answered, or one that answers a moment later is missed.
        if (const std::optional<QString> why = call.session().find(*module, true))
            return call.out.error(Failed, *why, outcomeWord(OutcomeKind::NotFound));
        const auto read = readModule(call, *module);
        if (const int *status = std::get_if<int>(&read))
            return *status;
        values = std::get<ParameterValues>(read);
        const DeviceTable &table = call.session().engine().deviceTable();
        heard = listedModuleWarnings(table, call.session().link()).value(table.indexOf(*module));
    } else {
        const auto profile = profileArgument(call.out, named);
        if (const int *status = std::get_if<int>(&profile))
            return *status;
        values = std::get<ParameterValues>(profile);
    }

    const QList<Finding> findings = checkSettings(values);
    const bool refused = std::any_of(findings.begin(), findings.end(), isRefused);
    QJsonArray findingsJson;
    QString text;
    for (const Finding &finding : findings) {
        findingsJson.append(findingJson(finding));
        text += findingLine(severityWord(finding), finding.rule, finding.message);
    }
    QJsonArray heardJson;
    for (const ModuleWarning &warning : heard) {
        heardJson.append(QJsonObject{{QStringLiteral("code"), warning.code}, {QStringLiteral("text"), warning.text}});
        text += findingLine(QStringLiteral("warned"), warning.code, warning.text);
    }
    if (text.isEmpty())
        text = tr("Nothing found: every rule is met.") + QLatin1Char('\n');
    QJsonObject document{{QStringLiteral("findings"), findingsJson}, {QStringLiteral("refused"), refused}};
    if (module) {
        document.insert(QStringLiteral("module"), module->toHex());
        document.insert(QStringLiteral("warnings"), heardJson);
    } else {
        document.insert(QStringLiteral("file"), named);
    }
    call.out.result(document, text);
    return refused ? Failed : Done;
}

}  // namespace kelvane::cli
