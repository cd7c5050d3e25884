// SPDX-License-Identifier: Apache-2.0
#include "Catalogue.h"

#include <QCoreApplication>

namespace kelvane {

namespace {
using C = Control;
using V = ValueKind;
using A = AnswerLayout;

Parameter choice(C control, const char *code, const char *key, const char *label,
                 int digitOffset, int minDigit, int maxDigit, bool zeroAtSix, const char *rejection,
                 QStringList items)
{
    return {control, code, key, label, V::Choice, A::Choice, digitOffset, minDigit, maxDigit,
            zeroAtSix, rejection, std::move(items)};
}

Parameter text(C control, const char *code, const char *key, const char *label, A answer)
{
    return {control, code, key, label, V::Text, answer};
}

constexpr int Open = std::numeric_limits<int>::min();  // no lower bound on d
}  // namespace

QString catalogueText(const char *text)
{
    return QCoreApplication::translate("Catalogue", text);
}

const std::array<Parameter, ParameterCount> &catalogue()
{
    static const std::array<Parameter, ParameterCount> rows = {
        choice(C::Set_Baud_Rate, "UB", "baud_rate", QT_TRANSLATE_NOOP("Catalogue", "波特率"), 0, Open, 9, false, QT_TRANSLATE_NOOP("Catalogue", "读取串口通信波特率错误！"),
               {"1200bps", "2400bps", "4800bps", "9600bps", "19200bps", "38400bps",
                "57600bps", "115200bps", "230400bps", "600bps"}),
        choice(C::Set_Stream_Control, "UT", "flow_control", QT_TRANSLATE_NOOP("Catalogue", "数据流控制"), 0, Open, 2, false,
               QT_TRANSLATE_NOOP("Catalogue", "读取串口通信数据流控制错误！"), {QT_TRANSLATE_NOOP("Catalogue", "无"), "RTS/CTS"}),
        choice(C::Set_Bits, "UD", "data_bits", QT_TRANSLATE_NOOP("Catalogue", "数据位"), 8, 8, 9, false, QT_TRANSLATE_NOOP("Catalogue", "读取串口通信数据位长度错误！"),
               {"8", "9"}),
        text(C::Set_Time_Delimiter, "TM", "time_delimiter", QT_TRANSLATE_NOOP("Catalogue", "时间分割"), A::FourDigits),
        choice(C::Set_Parity, "UP", "parity", QT_TRANSLATE_NOOP("Catalogue", "奇偶校验位"), 0, Open, 2, true,
               QT_TRANSLATE_NOOP("Catalogue", "读取串口通信数据校验方式错误！"), {QT_TRANSLATE_NOOP("Catalogue", "无校验"), QT_TRANSLATE_NOOP("Catalogue", "奇校验"), QT_TRANSLATE_NOOP("Catalogue", "偶校验")}),
        text(C::Set_Byte_Delimiter, "BT", "byte_delimiter", QT_TRANSLATE_NOOP("Catalogue", "字节分割"), A::FourDigits),
        choice(C::Set_Stopbit, "US", "stop_bits", QT_TRANSLATE_NOOP("Catalogue", "停止位"), 1, 1, 2, true, QT_TRANSLATE_NOOP("Catalogue", "读取串口通信数据停止位错误！"),
               {"1", "2"}),
        choice(C::Disp_Mode, "CM", "display_mode", QT_TRANSLATE_NOOP("Catalogue", "显示模式"), 0, Open, 2, false, QT_TRANSLATE_NOOP("Catalogue", "显示模式读取错误！"),
               {QT_TRANSLATE_NOOP("Catalogue", "不显示"), QT_TRANSLATE_NOOP("Catalogue", "正常显示"), QT_TRANSLATE_NOOP("Catalogue", "兼容模式")}),
        text(C::G_IP, "GA", "gateway", QT_TRANSLATE_NOOP("Catalogue", "网关IP地址"), A::Address),
        text(C::MASK, "SM", "subnet_mask", QT_TRANSLATE_NOOP("Catalogue", "子网掩码"), A::Address),
        text(C::S_IP, "IP", "ip_address", QT_TRANSLATE_NOOP("Catalogue", "本机IP地址"), A::Address),
        text(C::Port_Number, "PT", "port", QT_TRANSLATE_NOOP("Catalogue", "本机端口号"), A::FiveDigits),
        text(C::D_IP, "DA", "destination_ip", QT_TRANSLATE_NOOP("Catalogue", "目的IP地址"), A::Address),
        text(C::D_Port, "DP", "destination_port", QT_TRANSLATE_NOOP("Catalogue", "目的端口号"), A::FiveDigits),
        choice(C::Socket_Mode, "SR", "socket_mode", QT_TRANSLATE_NOOP("Catalogue", "端口模式"), 0, Open, 5, false, QT_TRANSLATE_NOOP("Catalogue", "读取端口工作模式错误！"),
               {QT_TRANSLATE_NOOP("Catalogue", "TCP服务器"), QT_TRANSLATE_NOOP("Catalogue", "TCP客户端"), QT_TRANSLATE_NOOP("Catalogue", "UDP模式0"), QT_TRANSLATE_NOOP("Catalogue", "UDP模式1"), QT_TRANSLATE_NOOP("Catalogue", "UDP模式2"), QT_TRANSLATE_NOOP("Catalogue", "UDP组播")}),
        choice(C::Ethernet_Mode, "ET", "ethernet_mode", QT_TRANSLATE_NOOP("Catalogue", "以太网模式"), 0, Open, 5, false, QT_TRANSLATE_NOOP("Catalogue", "以太网工作模式读取错误！"),
               {QT_TRANSLATE_NOOP("Catalogue", "自动握手"), QT_TRANSLATE_NOOP("Catalogue", "100M全双工自动握手"), QT_TRANSLATE_NOOP("Catalogue", "100M全双工手动握手"), QT_TRANSLATE_NOOP("Catalogue", "100M半双工手动握手"),
                QT_TRANSLATE_NOOP("Catalogue", "10M全双工手动握手"), QT_TRANSLATE_NOOP("Catalogue", "10M半双工手动握手")}),
        {C::Direct, "PD", "start_mode", QT_TRANSLATE_NOOP("Catalogue", "运行设置"), V::StartMode, A::StartMode},
    };
    return rows;
}

const std::array<Control, 8> &comboFillOrder()
{
    static constexpr std::array<Control, 8> order = {
        C::Socket_Mode, C::Set_Baud_Rate, C::Set_Stream_Control, C::Set_Bits,
        C::Set_Parity,  C::Set_Stopbit,   C::Disp_Mode,          C::Ethernet_Mode,
    };
    return order;
}

const std::array<Control, 16> &valueControls()
{
    static const std::array<Control, 16> controls = [] {
        std::array<Control, 16> list{};
        for (int i = 0; i < 16; ++i)
            list[i] = catalogue()[i].control;
        return list;
    }();
    return controls;
}

}  // namespace kelvane
