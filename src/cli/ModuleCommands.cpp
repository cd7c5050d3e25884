// SPDX-License-Identifier: Apache-2.0
#include "ModuleCommands.h"

#include "Arguments.h"
#include "profiles/FleetRunner.h"
#include "protocol/ParameterNames.h"

#include <QJsonArray>

namespace kelvane::cli {

namespace {
QString entryText(const Outcome &outcome)
{
    return outcome.entry.join(QLatin1Char(' '));
}

QString valuesText(const ParameterValues &values)
{
    QString text;
    for (const Parameter *p : values.parameters())
        text += QStringLiteral("%1 %2\n").arg(parameterKey(*p), -16).arg(values.value(*p));
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

int scanCommand(Invocation &call)
{
    if (!call.arguments.isEmpty())
        return usage(call.out, "scan", "");
    Session &session = call.session();
    const Outcome scanned = session.scan();
    // Finding nothing is an answer too; a port that cannot be had is not.
    if (scanned.kind == OutcomeKind::PortUnavailable)
        return failed(call.out, scanned);
    QJsonArray modules;
    QString text;
    for (int row = 0; row < session.engine().deviceTable().count(); ++row) {
        const QJsonObject module = moduleJson(session, row);
        modules.append(module);
        text += QStringLiteral("%1  %2  %3 %4  %5\n")
                    .arg(row + 1, 3)
                    .arg(module.value(QStringLiteral("address")).toString(),
                         module.value(QStringLiteral("card")).toString(),
                         module.value(QStringLiteral("card_address")).toString(),
                         module.value(QStringLiteral("source")).toString());
    }
    if (modules.isEmpty())
        Output::message(entryText(scanned));
    call.out.result({{QStringLiteral("modules"), modules}, {QStringLiteral("outcome"), outcomeWord(scanned.kind)}},
                    text);
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
    const auto found = findModule(call, "write", "MODULE NAME=VALUE...", int(call.arguments.size()));
    if (const int *status = std::get_if<int>(&found))
        return *status;
    const DeviceAddress module = std::get<DeviceAddress>(found);

    // A write is an apply to one module: read, merge the changes, write all 17.
    // Unlike apply it always writes: an operator who names values to write
    // expects them sent, even when the module shows them already.
    Session &session = call.session();
    const DeviceTable &table = session.engine().deviceTable();
    JobPlan plan{module, table.entry(table.indexOf(module)), std::get<ParameterValues>(changes)};
    plan.always = true;
    session.handOverLink();
    const auto jobs = runFleet(session.link(), {plan}, 1, session.jobWatch());
    const JobOutcome &outcome = jobs.front()->outcome();
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
