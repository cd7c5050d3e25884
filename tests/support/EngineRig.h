// SPDX-License-Identifier: Apache-2.0
// The engine and the window's presenter on a headless panel, a fake link and a manual Timer1, with modules
// 00 11 22 33 44 i that answer whatever the test hands them.
#pragma once

#include "FakeLink.h"
#include "ManualTimer.h"
#include "TestClock.h"
#include "HeadlessPanel.h"
#include "Presenter.h"
#include "operations/Engine.h"

#include <QByteArrayList>
#include <QStringList>

namespace kelvane::test {

// The 17 query codes in catalogue order.
inline const QByteArrayList Codes = {"UB", "UT", "UD", "TM", "UP", "BT", "US", "CM", "GA",
                                     "SM", "IP", "PT", "DA", "DP", "SR", "ET", "PD"};
// A module's answers to the 17 queries, in their shortest form.
inline const QByteArrayList Answers = {"03", "01", "09", "00012", "02", "00034", "02", "01",
                                       "010.000.000.001", "255.255.255.000", "010.000.000.007",
                                       "08080", "192.168.000.100", "00502", "03", "05", "01"};

// Module i is 00 11 22 33 44 i.
inline QByteArray addr(int i)
{
    return QByteArray::fromHex("0011223344") + char(i);
}

inline QByteArray queryFrame(int r, int module = 0)
{
    return addr(module) + "AT" + Codes[r] + '\r';
}

// A write of row r when the window shows answer r: addresses and ports (rows 8
// to 13) whole, the others without the leading 0.
inline QByteArray writeFrame(int r, int module = 0)
{
    return addr(module) + "AT" + Codes[r] + '=' + (r >= 8 && r <= 13 ? Answers[r] : Answers[r].mid(1)) + '\r';
}

// The whole log of these lines: entries start with FixedStamp.
inline QString logOf(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

// The timestamp line of every log entry.
inline const QString At = FixedStamp;

struct EngineRig {
    HeadlessPanel panel;
    FakeLink link;
    ManualTimer timer;
    Engine engine{link, timer};
    // What the window makes of the engine, on the panel of plain values.
    Presenter window{panel, engine, &fixedNow};

    // Not started yet: the test sets the link up first.
    struct Unstarted {};
    explicit EngineRig(Unstarted) {}

    // Started, with modules 0 .. n-1 found by a scan; nothing counted as sent.
    explicit EngineRig(int modules = 0)
    {
        window.startUp();
        if (modules > 0)
            window.scan();
        for (int i = 0; i < modules; ++i)
            link.deliver(addr(i));
        while (timer.fire()) {
        }
        link.sent.clear();
    }

    // A click on the row: a read of that module starts.
    void click(int row)
    {
        panel.selectDeviceRow(row);
        window.deviceListClicked();
    }
    // Module i answers queries from..end-1.
    void answer(int module, int from, int end)
    {
        for (int r = from; r < end; ++r)
            link.deliver(addr(module) + Answers[r]);
    }
    // A whole read of the row, answered; nothing counted as sent.
    void read(int row)
    {
        click(row);
        answer(row, 0, 17);
        link.sent.clear();
    }
    void acks(int module, int n)
    {
        for (int i = 0; i < n; ++i)
            link.deliver(addr(module) + "OK\r\n");
    }
    // Device_List, L_Default, Setting and Run_Device: what a read or write locks.
    QList<bool> commands() const
    {
        return {panel.isEnabled(Control::Device_List), panel.isEnabled(Control::L_Default),
                panel.isEnabled(Control::Setting), panel.isEnabled(Control::Run_Device)};
    }
};

inline const QList<bool> Locked = {false, false, false, false};
inline const QList<bool> Unlocked = {true, true, true, true};

}  // namespace kelvane::test
