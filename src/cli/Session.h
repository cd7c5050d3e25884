// SPDX-License-Identifier: Apache-2.0
// The engine on the real socket, one verb at a time, each waited for to its
// outcome: what the window starts with clicks, the command line starts with
// calls that return.
#pragma once

#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "operations/Trace.h"
#include "profiles/FleetRunner.h"
#include "protocol/UdpLink.h"

#include <functional>
#include <memory>

namespace kelvane::cli {

class Session {
public:
    Session();

    UdpLink &link() { return m_link; }
    Engine &engine() { return m_engine; }

    // Writes every datagram to the file from now on; why not, when it cannot.
    std::optional<QString> traceTo(const QString &path);
    // The trace asked for, or none.
    Trace *trace() const { return m_trace.get(); }
    // From now on the engines of an apply's jobs take what arrives; the
    // session's own engine, idle after its scan, no longer reads it.
    void handOverLink();
    // What a fleet run tells the session: each job's engine explains its
    // datagrams in the trace.
    FleetWatch jobWatch() const;

    // The whole scan, or until `goal` is met; the trace notes how it ended.
    Outcome scan(const ScanGoal &goal = {});
    // The same, without waiting: the engine tells its end. An outcome when
    // it ended at once (no port).
    std::optional<Outcome> startScan(const ScanGoal &goal);
    Outcome read(const DeviceAddress &module);
    Outcome restoreDefaults(const DeviceAddress &module);
    Outcome reset(const DeviceAddress &module);

    // Why the last scan could ask no module: no card could broadcast it.
    std::optional<QString> noCard() const;
    // Scans until the module has answered, four rounds at most (all four with
    // `wholeScan`, so that every module on the LAN is listed too): none when it
    // was found, else why it cannot be worked on.
    std::optional<QString> find(const DeviceAddress &module, bool wholeScan = false);

private:
    Outcome run(const std::function<void()> &start);

    UdpLink m_link;
    QtOneShotTimer m_timer;
    Engine m_engine;
    std::unique_ptr<Trace> m_trace;
};

}  // namespace kelvane::cli
