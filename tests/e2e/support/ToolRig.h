// The tool without its window, on the real socket and the real Timer1:
// what the end-to-end tests drive in place of an operator.
#pragma once

#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/UdpLink.h"

#include <QStringList>

namespace kelvane::e2e {

class ToolRig {
public:
    ToolRig();  // as the window opens: start-up has run

    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine;

    QStringList logLines() const;
    QString lastLogLine() const;
    // The last n lines, the way a two-line entry reads.
    QStringList lastLogLines(int n) const;
    QStringList deviceItems() const;

    // Device_List, L_Default, Setting, Run_Device: which of them are enabled.
    QList<bool> commandsEnabled() const;

    // Presses Scan and lets the four rounds run out; false if they did not.
    bool scanToEnd(int timeoutMs = 5000);
    // Clicks a row and waits until the read gives its verdict; false when
    // it failed or did not end, with the log in a warning.
    bool read(int row, int timeoutMs = 5000);
};

}  // namespace kelvane::e2e
