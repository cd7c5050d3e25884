// SPDX-License-Identifier: Apache-2.0
// kelvane run as a script runs it, and what the tests check it against: the
// modules read back by the engine itself, profile files and trace files.
#pragma once

#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/ParameterValues.h"
#include "protocol/UdpLink.h"
#include "support/Profiles.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace kelvane::test {

struct Ran {
    int status = -1;  // -1: it crashed or did not end in time
    QByteArray out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

// Module n of kelvane-sim, numbered from 1, as kelvane names it: "024B56000001".
inline QString moduleName(int n)
{
    return QStringLiteral("024B56%1").arg(n, 6, 16, QLatin1Char('0')).toUpper();
}

inline QStringList moduleNames(int first, int last)
{
    QStringList names;
    for (int n = first; n <= last; ++n)
        names << moduleName(n);
    return names;
}

// One field of every entry of a --json report's "modules", in the report's order.
inline QStringList fieldOf(const QJsonObject &report, const QString &key)
{
    QStringList values;
    for (const QJsonValue &entry : report.value(QStringLiteral("modules")).toArray())
        values << entry.toObject().value(key).toString();
    return values;
}

// The entries of a --json report's "modules" by module address.
inline QHash<QString, QJsonObject> entries(const Ran &ran)
{
    QHash<QString, QJsonObject> byAddress;
    for (const QJsonValue &entry : ran.json().value(QStringLiteral("modules")).toArray())
        byAddress.insert(entry.toObject().value(QStringLiteral("address")).toString(), entry.toObject());
    return byAddress;
}

// kelvane run to its end; the event loop turns meanwhile, so a simulator's
// trace keeps being read and a full pipe never stops it answering.
inline Ran runCli(const QStringList &arguments, int timeoutMs = 60000,
                  const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("KELVANE_BUILD_DIR") + "/kelvane", arguments);
    Ran ran;
    if (!QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, timeoutMs))
        return ran;
    if (process.exitStatus() == QProcess::NormalExit)
        ran.status = process.exitCode();
    ran.out = process.readAllStandardOutput();
    ran.err = QString::fromUtf8(process.readAllStandardError());
    return ran;
}

// Every module's parameters by its address, as the engine reads them in one
// scan, on a socket released before kelvane runs again.
inline QHash<QString, QJsonObject> readAll(int timeoutMs = 60000)
{
    QHash<QString, QJsonObject> stored;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine(link, timer);
    QSignalSpy ended(&engine, &Engine::finished);
    engine.scan();
    if (!ended.wait(timeoutMs))
        return stored;
    for (int row = 0; row < engine.deviceTable().count(); ++row) {
        ended.clear();
        const DeviceAddress module = engine.deviceTable().address(row);
        engine.read(module);
        if (!ended.wait(timeoutMs))
            return {};
        const Outcome outcome = ended.first().at(0).value<Outcome>();
        if (!outcome.succeeded())
            return {};
        stored.insert(module.toHex(), outcome.values.toJson());
    }
    return stored;
}

// A --trace file's lines without their time, the heading left out.
inline QStringList readTrace(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts).mid(1);
    for (QString &line : lines)
        line = line.section('\t', 1);
    return lines;
}

}  // namespace kelvane::test
