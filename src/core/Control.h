// SPDX-License-Identifier: Apache-2.0
// The names of the window's controls that the operations read and drive.
#pragma once

#include <QString>

namespace kelvane {

enum class Control {
    // commands and the list
    Scan,
    Device_List,
    L_Default,
    Setting,
    Run_Device,
    Exit_Command,
    // the three parameter frames
    UART_Control,
    Ethernet_Control,
    Set_PPPOE,
    // serial parameters
    Set_Baud_Rate,
    Set_Stream_Control,
    Set_Bits,
    Set_Time_Delimiter,
    Set_Parity,
    Set_Byte_Delimiter,
    Set_Stopbit,
    Disp_Mode,
    // network parameters
    G_IP,
    MASK,
    S_IP,
    Port_Number,
    D_IP,
    D_Port,
    Socket_Mode,
    Ethernet_Mode,
    // run mode
    Direct,
    PPPOE,
    DHCP,
    User_ID,
    User_Password,
};

// The control's name, as the window's objectName: "Set_Baud_Rate".
QString controlName(Control control);

}  // namespace kelvane
