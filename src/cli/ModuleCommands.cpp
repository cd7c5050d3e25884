// SPDX-License-Identifier: Apache-2.0
#include "ModuleCommands.h"

#include "Arguments.h"
#include "CheckCommand.h"
#include "profiles/FleetRunner.h"
#include "profiles/LanCheck.h"
#include "profiles/ModuleList.h"
#include "protocol/ParameterNames.h"
#include "protocol/ParameterValue.h"

#include <QJsonArray>

namespace kelvane::cli {

namespace {
const QCommandLineOption CsvOption(QStringLiteral("csv"),
                                   QT_TRANSLATE_NOOP("kelvane::cli", "List the modules as CSV, with the columns the window's table exports."));

QString entryText(const Outcome &outcome)
{
    return outcome.entry.join(QLatin1Char(' '));
}

QString valuesText(const ParameterValues &values)
{
    QString text;
    for (const Parameter *p : values.parameters())
        text += QStringLiteral("%1 %2\n").arg(parameterKey(*p), -16).arg(valueForPeople(*p, values.value(*p)));
    return text;
}

// Rows of cells, each column as wide as its widest cell; the last left ragged.
QString tableText(const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &cells : rows) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i >= widths.size())
                widths << 0;
            widths[i] = std::max(widths[i], cells[i].size());
        }
    }
    QString text;
    for (const QStringList &cells : rows) {
        QStringList padded;
        for (qsizetype i = 0; i < cells.size(); ++i)
            padded << (i + 1 < cells.size() ? cells[i].leftJustified(widths[i]) : cells[i]);
        text += padded.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    return text;
}

QJsonObject moduleJson(Session &session, int row)
{
    const DeviceAddress address = session.engine().deviceTable().address(row);
    QJsonObject module{{QStringLiteral("position"), row + 1}, {QStringLiteral("address"), address.toHex()}};
    if (const std::optional<ModuleRoute> route = session.link().routeOf(address)) {
        module.insert(QStringLiteral("card"), route->card.name);
        module.insert(QStringLiteral("card_address"), route->card.address.toString());
        module.insert(QStringLiteral("source"), route->peer.toString());
    }
    return module;
}

// The one module a command names, found by a scan; the exit status otherwise.
std::variant<DeviceAddress, int> findModule(Invocation &call, const char *name, const char *arguments, int count)
{
    if (call.arguments.size() != count)
        return usage(call.out, name, arguments);
    const auto modules = moduleArguments(call.out, call.arguments.mid(0, 1));
    if (const int *status = std::get_if<int>(&modules))
        return *status;
    const DeviceAddress module = std::get<QList<DeviceAddress>>(modules).first();
    if (const std::optional<QString> why = call.session().find(module))
        return call.out.error(Failed, *why, outcomeWord(OutcomeKind::NotFound));
    return module;
}

// defaults and reset: one verb, its entry as the answer.
int simple(Invocation &call, const char *name, Outcome (Session::*verb)(const DeviceAddress &))
{
    const auto found = findModule(call, name, "MODULE", 1);
    if (const int *status = std::get_if<int>(&found))
        return *status;
    const Outcome outcome = (call.session().*verb)(std::get<DeviceAddress>(found));
    if (!outcome.succeeded())
        return failed(call.out, outcome);
    call.out.result({{QStringLiteral("module"), outcome.module->toHex()},
                     {QStringLiteral("outcome"), outcomeWord(outcome.kind)},
                     {QStringLiteral("message"), entryText(outcome)}},
                    entryText(outcome) + QLatin1Char('\n'));
    return Done;
}
}  // namespace

int failed(const Output &out, const Outcome &outcome)
{
    return out.error(Failed, entryText(outcome), outcomeWord(outcome.kind));
}

std::variant<ParameterValues, int> readModule(Invocation &call, const DeviceAddress &module)
{
    const Outcome read = call.session().read(module);
    if (read.kind == OutcomeKind::BadAnswer) {
        QStringList names;
        for (const Parameter *p : read.unreadable)
            names << parameterKey(*p);
        return call.out.error(Failed,
                              tr("Module %1 gave answers that could not be read for: %2.")
                                  .arg(module.toHex(), names.join(QStringLiteral(", "))),
                              outcomeWord(read.kind));
    }
    if (!read.succeeded())
        return failed(call.out, read);
    return read.values;
}

namespace {
const QCommandLineOption ExpectOption(
    QStringLiteral("expect"),
    QT_TRANSLATE_NOOP("kelvane::cli", "Stop looking as soon as N modules have answered; exit 1 if fewer did."),
    QStringLiteral("N"));
}  // namespace

QList<QCommandLineOption> scanOptions()
{
    QCommandLineOption expect = ExpectOption;
    expect.setDescription(tr(ExpectOption.description().toUtf8().constData()));
    QCommandLineOption csv = CsvOption;
    csv.setDescription(tr(CsvOption.description().toUtf8().constData()));
    return {expect, csv};
}

int scanCommand(Invocation &call)
{
    if (!call.arguments.isEmpty())
        return usage(call.out, "scan", "");
    const bool csv = call.parser.isSet(CsvOption);
    if (csv && call.out.json())
        return call.out.error(BadInput, tr("--csv and --json cannot be given together."));
    ScanGoal goal;
    if (call.parser.isSet(ExpectOption)) {
        bool ok = false;
        goal.count = call.parser.value(ExpectOption).toInt(&ok);
        if (!ok || goal.count < 1 || goal.count > DeviceTableCapacity)
            return call.out.error(BadInput, tr("--expect takes a number from 1 to %1.").arg(DeviceTableCapacity));
    }
    Session &session = call.session();
    const Outcome scanned = session.scan(goal);
    // Finding nothing is an answer too; a port that cannot be had is not.
    if (scanned.kind == OutcomeKind::PortUnavailable)
        return failed(call.out, scanned);
    // Nothing could be asked: no card to broadcast on is no empty LAN.
    if (const std::optional<QString> why = session.noCard())
        return call.out.error(Failed, *why, outcomeWord(OutcomeKind::SendFailed));
    if (csv) {
        call.out.result({}, QString::fromUtf8(modulesCsv(scannedRows(session.engine().deviceTable(), session.link()))));
        return Done;
    }
    const QList<QList<ModuleWarning>> warnings = listedModuleWarnings(session.engine().deviceTable(), session.link());
    QJsonArray modules;
    QList<QStringList> rows{{tr("POS"), tr("MODULE"), tr("CARD"), tr("CARD ADDRESS"), tr("ANSWERED FROM"),
                             tr("WARNINGS")}};
    for (int row = 0; row < session.engine().deviceTable().count(); ++row) {
        QJsonObject module = moduleJson(session, row);
        QJsonArray moduleWarnings;
        QStringList codes;
        for (const ModuleWarning &warning : warnings.value(row)) {
            moduleWarnings.append(
                QJsonObject{{QStringLiteral("code"), warning.code}, {QStringLiteral("text"), warning.text}});
            codes << warning.code;
            if (!call.out.json())
                Output::message(QStringLiteral("kelvane: %1: %2").arg(tr("warning"), warning.text));
        }
        module.insert(QStringLiteral("warnings"), moduleWarnings);
        modules.append(module);
        const auto field = [&module](const char *key) {
            const QString value = module.value(QLatin1String(key)).toString();
            return value.isEmpty() ? QStringLiteral("-") : value;
        };
        rows.append({QString::number(row + 1), field("address"), field("card"), field("card_address"),
                     field("source"), codes.isEmpty() ? QStringLiteral("-") : codes.join(QLatin1Char(','))});
    }
    const QString text = modules.isEmpty() ? QString() : tableText(rows);
    if (modules.isEmpty())
        Output::message(entryText(scanned));
    call.out.result({{QStringLiteral("modules"), modules}, {QStringLiteral("outcome"), outcomeWord(scanned.kind)}},
                    text);
    if (goal.count > modules.size()) {
        Output::message(tr("Only %1 of the %2 modules expected answered.").arg(modules.size()).arg(goal.count));
        return Failed;
    }
    return Done;
}

int readCommand(Invocation &call)
{
    const auto found = findModule(call, "read", "MODULE", 1);
    if (const int *status = std::get_if<int>(&found))
        return *status;
    const DeviceAddress module = std::get<DeviceAddress>(found);
    const auto values = readModule(call, module);
    if (const int *status = std::get_if<int>(&values))
        return *status;
    const ParameterValues &read = std::get<ParameterValues>(values);
    call.out.result({{QStringLiteral("module"), module.toHex()},
                     {QStringLiteral("outcome"), outcomeWord(OutcomeKind::Done)},
                     {QStringLiteral("parameters"), read.toJson()}},
                    valuesText(read));
    return Done;
}

int writeCommand(Invocation &call)
{
    if (call.arguments.size() < 2)
        return usage(call.out, "write", "MODULE NAME=VALUE...");
    const auto changes = assignmentArguments(call.out, call.arguments.mid(1));
    if (const int *status = std::get_if<int>(&changes))
        return *status;
    // What the changes break whatever the module holds is refused before anything is sent.
    CheckReport checks(call);
    if (const std::optional<int> status = checks.review(checkSettings(std::get<ParameterValues>(changes)), false))
        return *status;
    const auto found = findModule(call, "write", "MODULE NAME=VALUE...", int(call.arguments.size()));
    if (const int *status = std::get_if<int>(&found))
        return *status;
    const DeviceAddress module = std::get<DeviceAddress>(found);

    // A write is an apply to one module: read, merge the changes, write all 17.
    // Unlike apply it always writes: an operator who names values to write
    // expects them sent, even when the module shows them already.
    Session &session = call.session();
    const DeviceTable &table = session.engine().deviceTable();
    JobPlan plan{module, table.entry(table.indexOf(module)), std::get<ParameterValues>(changes), false, false,
                 checks.forced(), call.retries.attempts, call.retries.timeoutMs};
    plan.always = true;
    session.handOverLink();
    const auto jobs = runFleet(session.link(), {plan}, 1, session.jobWatch());
    const JobOutcome &outcome = jobs.front()->outcome();
    // The check on the values the job would write, merged with the module's own.
    if (const std::optional<int> status = checks.review(outcome.findings))
        return *status;
    if (!outcome.succeeded())
        return call.out.error(Failed, outcome.message,
                              outcome.ended ? outcomeWord(outcome.ended->kind) : QString());
    QJsonObject changed;
    QString text;
    for (const Difference &d : outcome.changes) {
        const QString key = parameterKey(*d.parameter);
        const QString from = d.actual.value_or(QString());
        changed.insert(key, QJsonObject{{QStringLiteral("from"), from}, {QStringLiteral("to"), d.expected}});
        text += QStringLiteral("%1 %2 -> %3\n").arg(key, -16).arg(from, d.expected);
    }
    if (text.isEmpty())
        text = tr("Nothing changed; all 17 parameters were written.") + QLatin1Char('\n');
    call.out.result({{QStringLiteral("module"), module.toHex()},
                     {QStringLiteral("outcome"), outcomeWord(OutcomeKind::Done)},
                     {QStringLiteral("changed"), changed}},
                    text);
    return Done;
}

int defaultsCommand(Invocation &call)
{
    return simple(call, "defaults", &Session::restoreDefaults);
}

int resetCommand(Invocation &call)
{
    return simple(call, "reset", &Session::reset);
}

}  // namespace kelvane::cli
