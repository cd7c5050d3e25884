// kelvane run as a script runs it: its exit status, standard output and standard error.
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace kelvane::test {

struct Ran {
    int status = -1;  // -1: it crashed or did not end in time
    QByteArray out;
    QString err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

inline Ran runCli(const QStringList &arguments, int timeoutMs = 60000)
{
    QProcess process;
    process.start(qEnvironmentVariable("KELVANE_BUILD_DIR") + "/kelvane", arguments);
    Ran ran;
    // The event loop runs meanwhile, so a simulator's trace keeps being read
    // and a full pipe never stops it answering.
    if (!QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, timeoutMs))
        return ran;
    ran.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    ran.out = process.readAllStandardOutput();
    ran.err = QString::fromUtf8(process.readAllStandardError());
    return ran;
}

}  // namespace kelvane::test
