#include "Parameters.h"

#include "protocol/Catalogue.h"

namespace kelvane::e2e {

namespace {
constexpr Control Options[] = {Control::Direct, Control::PPPOE, Control::DHCP};
}

QStringList shownParameters(const Panel &panel)
{
    QStringList shown;
    for (Control c : valueControls())
        shown << panel.text(c);
    QString option;
    for (Control c : Options) {
        if (panel.isChecked(c))
            option = controlName(c);
    }
    return shown << option;
}

bool enterParameters(HeadlessPanel &panel, const QStringList &values)
{
    if (values.size() != ParameterCount)
        return false;
    for (int row = 0; row < ParameterCount - 1; ++row) {
        const Parameter &p = catalogue()[row];
        if (p.kind == ValueKind::Choice) {
            if (!panel.selectIndex(p.control, int(p.items.indexOf(values[row]))) ||
                panel.selectedIndex(p.control) < 0)
                return false;
        } else {
            panel.setText(p.control, values[row]);
        }
    }
    for (Control c : Options) {
        if (controlName(c) == values.last()) {
            panel.setChecked(c, true);
            return true;
        }
    }
    return false;
}

QStringList factoryShown(int module)
{
    // Written out by hand from the simulator's factory table, so that a slip
    // there or in the tool's decoding shows up as a difference.
    switch (module) {
    case 0:
        return {"600bps", "无", "9", "0003", "偶校验", "0040", "1", "正常显示",
                "192.168.001.001", "255.255.255.000", "192.168.001.010", "00502",
                "010.000.000.001", "01024", "TCP服务器", "100M全双工手动握手", "Direct"};
    case 1:
        return {"4800bps", "RTS/CTS", "8", "0014", "无校验", "0041", "2", "兼容模式",
                "192.168.001.001", "255.255.255.000", "192.168.001.011", "00503",
                "010.000.000.002", "01025", "TCP客户端", "100M半双工手动握手", "PPPOE"};
    case 2:
        return {"38400bps", "无", "9", "0025", "奇校验", "0042", "1", "不显示",
                "192.168.001.001", "255.255.255.000", "192.168.001.012", "00504",
                "010.000.000.003", "01026", "UDP模式0", "10M全双工手动握手", "DHCP"};
    default:
        return {};
    }
}

}  // namespace kelvane::e2e
