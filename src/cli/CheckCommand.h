// SPDX-License-Identifier: Apache-2.0
// The settings checks on the command line: check itself, --force, and what
// write and apply tell and refuse before they write.
#pragma once

#include "Commands.h"
#include "profiles/ModuleJob.h"
#include "profiles/SettingsCheck.h"

#include <QSet>

#include <memory>
#include <vector>

namespace kelvane::cli {

int checkCommand(Invocation &call);

// --force: write what the checks refuse.
QCommandLineOption forceOption();
// write's own options.
QList<QCommandLineOption> writeOptions();

// What the checks found during one command, told once each: warnings (and,
// with --force, refusals) on standard error.
class CheckReport {
public:
    explicit CheckReport(const Invocation &call);

    bool forced() const { return m_force; }

    // Tells the findings (the warnings only with tellWarnings: values checked
    // before they are merged with the module's are told after); the exit
    // status 2, with the refusals as the error, when one is refused and the
    // command was not forced; none when it goes on.
    std::optional<int> review(const QList<Finding> &findings, bool tellWarnings = true);
    // apply after its scan, before any job starts: each profile's values
    // and the addresses it would hand out on the LAN.
    std::optional<int> reviewApply(Session &session, const QList<DeviceAddress> &modules,
                                   const QList<ParameterValues> &profiles);
    // Tells what the jobs' own checks found on the values they wrote; true
    // when a job was refused and wrote nothing.
    bool reviewJobs(const std::vector<std::unique_ptr<ModuleJob>> &jobs);

private:
    void tell(const QString &prefix, const QString &message);

    const Output &m_out;
    bool m_force;
    QSet<QString> m_told;
};

}  // namespace kelvane::cli
