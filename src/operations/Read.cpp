#include "Read.h"

#include "protocol/Catalogue.h"
#include "Startup.h"
#include "protocol/QuerySender.h"

#include <QCoreApplication>

namespace kelvane {

void clearParameterControls(Machine &m)
{
    for (Control c : valueControls())
        m.panel.setText(c, QString());
    for (Control c : {Control::Direct, Control::PPPOE, Control::DHCP})
        m.panel.setEnabled(c, false);
}

void startRead(Machine &m)
{
    const int selected = m.panel.selectedDeviceRow();
    if (selected < 0 || selected >= m.deviceTable.count()) {
        // Nothing to read: a click beside the items, or a retry whose module
        // was reset meanwhile. The next read starts afresh.
        m.RetryCount = 0;
        m.end(Operation::Read, false);
        return;
    }
    m.SelectedDevice = qint16(selected);
    showAddress(m, m.selectedAddress());
    clearParameterControls(m);
    if (m.RetryCount == 0)
        m.log.replace({QCoreApplication::translate("Read", "读取设备%1参数... ...").arg(m.deviceNumber())});
    m.Step = 0;
    sendQuery(m);
    m.armTimer1();
    m.setCommandsEnabled(false);
}

void readTimeout(Machine &m)
{
    if (m.RetryCount < MaxRetries) {
        ++m.RetryCount;
        startRead(m);
        return;
    }
    m.RetryCount = 0;
    m.panel.setEnabled(Control::Device_List, true);
    m.panel.setEnabled(Control::Run_Device, true);
    m.log.append({QCoreApplication::translate("Read", "读取设备%1参数不成功！").arg(m.deviceNumber()),
                  QCoreApplication::translate("Read", "请检查计算机与设备之间的网络连接，重新操作！")});
    m.end(Operation::Read, false);
}

}  // namespace kelvane
