// SPDX-License-Identifier: Apache-2.0
// The window's half of every operation: it turns the commands the operator
// gives into the engine's verbs on the module chosen in Device_List, and the
// engine's progress and outcomes into controls, focus and status entries.
// Widget-free: it drives the window through Panel.
#pragma once

#include "core/Panel.h"
#include "core/StatusLog.h"
#include "operations/Engine.h"
#include "protocol/ParameterValues.h"

#include <QObject>

namespace kelvane {

class Presenter final : public QObject {
    Q_OBJECT
public:
    Presenter(Panel &panel, Engine &engine, StatusLog::Clock clock = &QDateTime::currentDateTime,
              QObject *parent = nullptr);

    Engine &engine() { return m_engine; }
    const StatusLog &log() const { return m_log; }

    // The window opening: the choice lists, the socket, the first entry, the locked controls.
    void startUp();
    // The operator's commands.
    void scan();
    void deviceListClicked();
    void setting();
    void restoreDefaults();
    void runDevice();
    // The operator confirmed leaving: every module hears that the tool is gone.
    void exitConfirmed();
    // Work elsewhere on the link (the modules table's apply) locks Scan,
    // Device_List, L_Default, Setting and Run_Device; unlocked, each is as it was.
    void lockCommands(bool locked);
    bool commandsLocked() const { return !m_lockedCommands.isEmpty(); }

private:
    // The module chosen in Device_List; none, with "没有选择设备！" as the
    // whole log, when nothing is chosen.
    std::optional<DeviceAddress> chosenModule(bool refuse);
    void showAddress(const std::optional<DeviceAddress> &module = std::nullopt);
    void clearParameterControls();
    // Each listed module's answered-from address, card and warnings, on its item.
    void showDeviceDetails();
    // The settings rules on the values 设置 would send: false when a rule
    // refuses them (a message box says which), or a warning was not accepted.
    bool settingsAccepted(const ParameterValues &values);
    // Device_List, L_Default, Setting and Run_Device, in this order.
    void setCommandsEnabled(bool enabled);

    void onAttempt(Operation operation, const DeviceAddress &module, int attempt, const QStringList &entry);
    void onAnswer(const Parameter &parameter, const Answer &answer);
    void onSendFailed(const QString &entry);
    void onFinished(const Outcome &outcome);

    Panel &m_panel;
    Engine &m_engine;
    StatusLog m_log;
    // Whether each locked command was enabled before the lock.
    QList<std::pair<Control, bool>> m_lockedCommands;
};

// "本机IP地址：192.0.2.1    端口号： 65002"
QString addressDisplay(const QString &localAddress);

}  // namespace kelvane
