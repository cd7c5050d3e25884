// save, apply and diff: a module's parameters against a profile file. The
// arguments arrive checked; these scan, work and answer.
#pragma once

#include "FleetRunner.h"
#include "Output.h"
#include "Session.h"
#include "protocol/ParameterValues.h"

#include <QList>
#include <QStringList>

namespace kelvane::cli {

struct ApplyOptions {
    bool all = false;  // every module the scan lists, in list order
    QString ipFrom;    // empty: the profile's own ip_address, if any
    bool verify = false;
    bool reset = false;  // after a verified write
    int parallel = DefaultParallel;
};

int saveCommand(const Output &out, Session &session, const DeviceAddress &module, const QString &file);
int diffCommand(const Output &out, Session &session, const ParameterValues &profile, const DeviceAddress &module);
int applyCommand(const Output &out, Session &session, const ParameterValues &profile,
                 const QList<DeviceAddress> &modules, const ApplyOptions &options);

}  // namespace kelvane::cli
