// SPDX-License-Identifier: Apache-2.0
#include "Presenter.h"

#include "operations/Scan.h"
#include "profiles/LanCheck.h"
#include "protocol/Catalogue.h"
#include "protocol/NetworkCards.h"
#include "protocol/WriteSenders.h"
#include "replies/DiscoveryReply.h"

#include <QCoreApplication>

#include <algorithm>

namespace kelvane {

namespace {
constexpr Control StartModeButtons[] = {Control::Direct, Control::PPPOE, Control::DHCP};
}

QString addressDisplay(const QString &localAddress)
{
    return QCoreApplication::translate("Startup", "本机IP地址：%1    端口号：%2")
        .arg(localAddress, StatusLog::number(LocalPort));
}

Presenter::Presenter(Panel &panel, Engine &engine, StatusLog::Clock clock, QObject *parent)
    : QObject(parent), m_panel(panel), m_engine(engine), m_log(panel, std::move(clock))
{
    connect(&engine, &Engine::scanRoundSent, this, [this](int, const QStringList &entry) {
        m_panel.setEnabled(Control::Device_List, false);
        if (!entry.isEmpty())
            m_log.replace(entry);
    });
    connect(&engine, &Engine::moduleListed, this,
            [this](int, const DeviceAddress &module) { m_panel.appendDevice(deviceItemText(module)); });
    connect(&engine, &Engine::moduleRemoved, this, [this](int row) {
        m_panel.removeDevice(row);
        // A module gone may have been the other half of a duplicate.
        showDeviceDetails();
    });
    connect(&engine, &Engine::attemptStarted, this, &Presenter::onAttempt);
    connect(&engine, &Engine::answered, this,
            [this](const DeviceAddress &, const Parameter &parameter, const Answer &answer) {
                onAnswer(parameter, answer);
            });
    connect(&engine, &Engine::sendFailed, this, &Presenter::onSendFailed);
    connect(&engine, &Engine::finished, this, &Presenter::onFinished);
}

void Presenter::startUp()
{
    for (Control combo : comboFillOrder()) {
        const auto row = std::find_if(catalogue().begin(), catalogue().end(),
                                      [combo](const Parameter &p) { return p.control == combo; });
        // Only the window shows translated items: profiles and the wire use the catalogue's.
        QStringList items;
        for (const QString &item : row->items)
            items.append(catalogueText(item.toUtf8().constData()));
        m_panel.addItems(combo, items);
    }

    const bool opened = m_engine.open();
    m_log.replace({QCoreApplication::translate("Startup", "在使用本工具扫描设备之前，请确保所有的设备都在同一个物理局域网内，没有经过路由器隔离。"),
                   QCoreApplication::translate("Startup", "请先扫描网络中的设备，然后读取指定设备的参数，并可对每一个设备的参数进行修改。"),
                   QCoreApplication::translate("Startup", "扫描设备的过程可能需要几秒钟的时间。")});
    if (!opened)
        m_log.append(portUnavailableMessage(m_engine.link()));
    showAddress();

    for (Control c : {Control::User_ID, Control::User_Password, Control::Set_PPPOE,
                      Control::Ethernet_Control, Control::UART_Control, Control::L_Default,
                      Control::Setting, Control::Run_Device})
        m_panel.setEnabled(c, false);
}

void Presenter::scan()
{
    m_engine.scan();
}

void Presenter::deviceListClicked()
{
    // A click beside the items reads nothing.
    if (const std::optional<DeviceAddress> module = chosenModule(false))
        m_engine.read(*module);
}

void Presenter::setting()
{
    const std::optional<DeviceAddress> module = chosenModule(true);
    if (!module)
        return;
    // All 17 values are checked and taken now, so nothing invalid goes on the
    // wire and the module gets one consistent set, whatever is edited meanwhile.
    const auto values = writeValues(m_panel);
    if (const auto *invalid = std::get_if<const Parameter *>(&values)) {
        // As a refusal of the checks: a box that must be answered, the log as it was.
        m_panel.showMessage(tr("设置"), tr("参数没有发送，设备的参数都没有改变：") + u'\n' + invalidValueMessage(**invalid));
        return;
    }
    if (!settingsAccepted(std::get<ParameterValues>(values)))
        return;
    m_engine.write(*module, std::get<ParameterValues>(values));
}

bool Presenter::settingsAccepted(const ParameterValues &values)
{
    QStringList refused;
    QStringList warned;
    for (const Finding &finding : checkSettings(values))
        (finding.severity == Finding::Severity::Refused ? refused : warned).append(finding.message);
    const QString title = tr("设置");
    if (!refused.isEmpty()) {
        m_panel.showMessage(title, tr("参数没有发送，设备的参数都没有改变：") + u'\n' + refused.join(u'\n'));
        return false;
    }
    if (warned.isEmpty())
        return true;
    return m_panel.askYesNo(title, tr("这些参数可能使设备无法正常工作：") + u'\n' + warned.join(u'\n') + u'\n' +
                                       tr("仍然发送这些参数吗？"));
}

void Presenter::restoreDefaults()
{
    if (const std::optional<DeviceAddress> module = chosenModule(true))
        m_engine.restoreDefaults(*module);
}

void Presenter::runDevice()
{
    if (const std::optional<DeviceAddress> module = chosenModule(true))
        m_engine.reset(*module);
}

void Presenter::exitConfirmed()
{
    m_engine.sendExit();
}

void Presenter::lockCommands(bool locked)
{
    if (locked == commandsLocked())
        return;
    if (locked) {
        for (Control c : {Control::Scan, Control::Device_List, Control::L_Default, Control::Setting,
                          Control::Run_Device})
            m_lockedCommands.append({c, m_panel.isEnabled(c)});
        for (const auto &[control, enabled] : m_lockedCommands)
            m_panel.setEnabled(control, false);
        return;
    }
    const auto restored = std::exchange(m_lockedCommands, {});
    for (const auto &[control, enabled] : restored)
        m_panel.setEnabled(control, enabled);
}

std::optional<DeviceAddress> Presenter::chosenModule(bool refuse)
{
    const int row = m_panel.selectedDeviceRow();
    if (row >= 0 && row < m_engine.deviceTable().count())
        return m_engine.deviceTable().address(row);
    if (refuse)
        m_log.replace({QCoreApplication::translate("Machine", "没有选择设备！")});
    return std::nullopt;
}

void Presenter::showAddress(const std::optional<DeviceAddress> &module)
{
    const Link &link = m_engine.link();
    const QString local = module ? link.localAddressFor(*module) : link.localAddress();
    m_panel.setAddressDisplay(addressDisplay(local), cardsToolTip(link.cards()));
}

void Presenter::clearParameterControls()
{
    for (Control c : valueControls())
        m_panel.setText(c, QString());
    for (Control c : StartModeButtons)
        m_panel.setEnabled(c, false);
}

void Presenter::showDeviceDetails()
{
    const DeviceTable &table = m_engine.deviceTable();
    const QList<HeardModule> heard = heardModules(table, m_engine.link());
    const QList<QList<ModuleWarning>> warnings = moduleWarnings(heard);
    for (int row = 0; row < heard.size() && row < m_panel.deviceRowCount(); ++row) {
        QStringList lines;
        if (!heard[row].answeredFrom.isEmpty())
            lines << tr("应答地址：%1").arg(heard[row].answeredFrom);
        const CardSubnet &card = heard[row].card;
        if (!card.name.isEmpty()) {
            const QString address = card.prefixLength < 0 ? card.address
                                                          : card.address + u'/' + QString::number(card.prefixLength);
            lines << tr("网卡：%1（%2）").arg(card.name, address);
        }
        for (const ModuleWarning &warning : warnings[row])
            lines << tr("警告：%1").arg(warning.text);
        m_panel.setDeviceDetails(row, lines.join(u'\n'), !warnings[row].isEmpty());
    }
}

void Presenter::setCommandsEnabled(bool enabled)
{
    for (Control c : {Control::Device_List, Control::L_Default, Control::Setting, Control::Run_Device})
        m_panel.setEnabled(c, enabled);
}

void Presenter::onAttempt(Operation operation, const DeviceAddress &module, int, const QStringList &entry)
{
    switch (operation) {
    case Operation::Read:
        showAddress(module);
        clearParameterControls();
        if (!entry.isEmpty())
            m_log.replace(entry);
        setCommandsEnabled(false);
        break;
    case Operation::Write:
        if (!entry.isEmpty())
            m_log.replace(entry);
        setCommandsEnabled(false);
        break;
    case Operation::Defaults:
        m_log.replace(entry);
        break;
    case Operation::Scan:
    case Operation::Reset:
        break;
    }
}

void Presenter::onAnswer(const Parameter &parameter, const Answer &answer)
{
    if (const auto *index = std::get_if<answer::Index>(&answer)) {
        m_panel.selectIndex(parameter.control, index->index);  // an index the list lacks is skipped
    } else if (const auto *text = std::get_if<answer::Text>(&answer)) {
        m_panel.setText(parameter.control, text->text);
    } else if (const auto *rejected = std::get_if<answer::Rejected>(&answer)) {
        m_log.replaceWithMessage(rejected->message);
    } else if (const auto *mode = std::get_if<answer::StartMode>(&answer)) {
        for (Control c : StartModeButtons)
            m_panel.setChecked(c, false);
        if (mode->digit >= 0 && mode->digit <= 2)
            m_panel.setChecked(StartModeButtons[mode->digit], true);
    }
}

void Presenter::onSendFailed(const QString &entry)
{
    // A read retried over a pulled cable fails the same way each time: one entry says it.
    if (!m_panel.logText().endsWith(entry))
        m_log.append({entry});
}

void Presenter::onFinished(const Outcome &outcome)
{
    const OutcomeKind kind = outcome.kind;
    // Taken over by the next command, or never started: the window shows nothing of it.
    if (kind == OutcomeKind::Superseded || kind == OutcomeKind::NotFound || kind == OutcomeKind::SendFailed)
        return;
    switch (outcome.operation) {
    case Operation::Scan:
        if (kind == OutcomeKind::PortUnavailable) {
            m_log.replace(outcome.entry);
            return;
        }
        m_log.append(outcome.entry);
        showDeviceDetails();
        if (kind == OutcomeKind::Done) {
            for (Control c : {Control::Ethernet_Control, Control::UART_Control, Control::Device_List,
                              Control::Set_PPPOE})
                m_panel.setEnabled(c, true);
        }
        return;
    case Operation::Read:
        if (kind == OutcomeKind::NoAnswer) {
            m_panel.setEnabled(Control::Device_List, true);
            m_panel.setEnabled(Control::Run_Device, true);
        } else {
            for (Control c : {Control::Device_List, Control::Direct, Control::DHCP, Control::L_Default,
                              Control::Setting, Control::Run_Device})
                m_panel.setEnabled(c, true);
        }
        m_log.append(outcome.entry);
        return;
    case Operation::Write:
        if (kind == OutcomeKind::InvalidValue) {
            m_log.replace(outcome.entry);
            return;
        }
        setCommandsEnabled(true);
        m_log.append(outcome.entry);
        return;
    case Operation::Defaults:
        m_log.append(outcome.entry);
        return;
    case Operation::Reset:
        m_log.replace(outcome.entry);
        clearParameterControls();
        return;
    }
}

}  // namespace kelvane
