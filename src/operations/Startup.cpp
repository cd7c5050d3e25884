#include "Startup.h"

#include "Scan.h"
#include "protocol/Catalogue.h"
#include "protocol/Frames.h"
#include "protocol/NetworkCards.h"

#include <QCoreApplication>
#include <algorithm>

namespace kelvane {

QString addressDisplay(const QString &localAddress)
{
    return QCoreApplication::translate("Startup", "本机IP地址：%1    端口号：%2")
        .arg(localAddress, StatusLog::number(LocalPort));
}

void showAddress(Machine &m, const std::optional<DeviceAddress> &module)
{
    const QString local = module ? m.Winsock.localAddressFor(*module) : m.Winsock.localAddress();
    m.panel.setAddressDisplay(addressDisplay(local), cardsToolTip(m.Winsock.cards()));
}

void startUp(Machine &m)
{
    for (Control combo : comboFillOrder()) {
        const auto row = std::find_if(catalogue().begin(), catalogue().end(),
                                      [combo](const Parameter &p) { return p.control == combo; });
        // Only the window shows translated items: profiles and the wire use indexes.
        QStringList items;
        for (const QString &item : row->items)
            items.append(catalogueText(item.toUtf8().constData()));
        m.panel.addItems(combo, items);
    }

    const bool opened = m.Winsock.open();
    m.log.replace({QCoreApplication::translate("Startup", "在使用本工具扫描设备之前，请确保所有的设备都在同一个物理局域网内，没有经过路由器隔离。"),
                   QCoreApplication::translate("Startup", "请先扫描网络中的设备，然后读取指定设备的参数，并可对每一个设备的参数进行修改。"),
                   QCoreApplication::translate("Startup", "扫描设备的过程可能需要几秒钟的时间。")});
    if (!opened) {
        m.log.append(portUnavailableMessage(m));
    }
    showAddress(m);

    for (Control c : {Control::User_ID, Control::User_Password, Control::Set_PPPOE,
                      Control::Ethernet_Control, Control::UART_Control, Control::L_Default,
                      Control::Setting, Control::Run_Device})
        m.panel.setEnabled(c, false);
}

void sendExitFrame(Machine &m)
{
    m.send(frames::exit());
}

}  // namespace kelvane
