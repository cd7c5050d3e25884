// The engine on the real socket, one operation at a time, each run to its end:
// what the window starts with clicks, the command line starts with calls that wait.
#pragma once

#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/UdpLink.h"

#include <functional>

namespace kelvane::cli {

class Session {
public:
    Session();

    UdpLink &link() { return m_link; }
    Engine &engine() { return m_engine; }
    HeadlessPanel &panel() { return m_panel; }

    // Each returns whether the operation did what was asked; the entry the
    // window would show is lastEntry().
    bool scan();
    bool read(int row);
    // Writes what the panel shows to the module of the row read last.
    bool write();
    bool restoreDefaults(int row);
    bool reset(int row);

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
};

}  // namespace kelvane::cli
