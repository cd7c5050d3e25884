// The engine on the real socket, one operation at a time, each run to its end:
// what the window starts with clicks, the command line starts with calls that wait.
#pragma once

#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "operations/Trace.h"
#include "protocol/UdpLink.h"

#include <functional>
#include <memory>
#include <variant>

namespace kelvane::cli {

class Session {
public:
    Session();

    UdpLink &link() { return m_link; }
    Engine &engine() { return m_engine; }
    HeadlessPanel &panel() { return m_panel; }

    // Writes every datagram to the file from now on; why not, when it cannot.
    std::optional<QString> traceTo(const QString &path);
    // The trace asked for, or none.
    Trace *trace() const { return m_trace.get(); }
    // From now on the engines of an apply's jobs take what arrives; the
    // session's own engine, idle after its scan, no longer reads it.
    void handOverLink();

    // Each returns whether the operation did what was asked; the entry the
    // window would show is lastEntry().
    bool scan();
    bool read(int row);
    // Writes what the panel shows to the module of the row read last.
    bool write();
    bool restoreDefaults(int row);
    bool reset(int row);

    // Scans for the module: its row, or why it cannot be worked on.
    std::variant<int, QString> find(const DeviceAddress &module);
    // The module's row in Device_List, -1 when the last scan did not find it.
    int rowOf(const DeviceAddress &module) const;
    // The newest log entry without its timestamp, lines joined by a blank.
    QString lastEntry() const;

private:
    bool run(Operation operation, const std::function<void()> &start);
    void select(int row);

    HeadlessPanel m_panel;
    UdpLink m_link;
    QtOneShotTimer m_timer;
    Engine m_engine;
    std::unique_ptr<Trace> m_trace;
};

}  // namespace kelvane::cli
