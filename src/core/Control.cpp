// SPDX-License-Identifier: Apache-2.0
#include "Control.h"

#include <iterator>


namespace kelvane {

namespace {
// QMetaEnum needs a Q_NAMESPACE; a plain table keeps the enum free of moc.
constexpr const char *names[] = {
    "Scan", "Device_List", "L_Default", "Setting", "Run_Device", "Exit_Command",
    "UART_Control", "Ethernet_Control", "Set_PPPOE",
    "Set_Baud_Rate", "Set_Stream_Control", "Set_Bits", "Set_Time_Delimiter", "Set_Parity",
    "Set_Byte_Delimiter", "Set_Stopbit", "Disp_Mode",
    "G_IP", "MASK", "S_IP", "Port_Number", "D_IP", "D_Port", "Socket_Mode", "Ethernet_Mode",
    "Direct", "PPPOE", "DHCP", "User_ID", "User_Password",
};
static_assert(std::size(names) == int(Control::User_Password) + 1);
}  // namespace

QString controlName(Control control)
{
    return QString::fromLatin1(names[int(control)]);
}

}  // namespace kelvane
