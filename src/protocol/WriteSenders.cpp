#include "WriteSenders.h"

#include <QCoreApplication>

namespace kelvane {

bool isSingleByteText(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

std::optional<QByteArray> writeValue(const Panel &panel, const Parameter &parameter)
{
    switch (parameter.kind) {
    case ValueKind::Choice: {
        const int index = panel.selectedIndex(parameter.control);
        if (index < 0 || index >= parameter.items.size())
            return std::nullopt;
        return QByteArray(1, char('0' + parameter.digitOffset + index));
    }
    case ValueKind::Text: {
        const QString text = panel.text(parameter.control);
        if (!isSingleByteText(text))
            return std::nullopt;
        return text.toLatin1();
    }
    case ValueKind::StartMode:
        // "2" stands for DHCP: with no option chosen it would switch the
        // module to DHCP unasked.
        if (panel.isChecked(Control::Direct))
            return QByteArray("0");
        if (panel.isChecked(Control::PPPOE))
            return QByteArray("1");
        if (panel.isChecked(Control::DHCP))
            return QByteArray("2");
        return std::nullopt;
    }
    return std::nullopt;
}

QString invalidValueMessage(const Parameter &parameter)
{
    const QString label = catalogueText(parameter.label);
    switch (parameter.kind) {
    case ValueKind::Choice:
        return QCoreApplication::translate("Write", "%1参数无效，请从列表中选择！").arg(label);
    case ValueKind::Text:
        return QCoreApplication::translate("Write", "%1参数无效，只能输入单字节字符！").arg(label);
    case ValueKind::StartMode:
        return QCoreApplication::translate("Write", "%1参数无效，请选择一种启动方式！").arg(label);
    }
    return label;
}

std::variant<QByteArrayList, const Parameter *> writeValues(const Panel &panel)
{
    QByteArrayList values;
    for (const Parameter &parameter : catalogue()) {
        std::optional<QByteArray> value = writeValue(panel, parameter);
        if (!value)
            return &parameter;
        values.append(*value);
    }
    return values;
}

}  // namespace kelvane
