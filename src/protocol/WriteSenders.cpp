#include "WriteSenders.h"

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
        if (panel.isChecked(Control::Direct))
            return QByteArray("0");
        if (panel.isChecked(Control::PPPOE))
            return QByteArray("1");
        return QByteArray("2");
    }
    return std::nullopt;
}

QString invalidValueMessage(const Parameter &parameter)
{
    const QString label = QString::fromUtf8(parameter.label);
    if (parameter.kind == ValueKind::Choice)
        return label + QStringLiteral("参数无效，请从列表中选择！");
    return label + QStringLiteral("参数无效，只能输入单字节字符！");
}

const Parameter *firstInvalidParameter(const Panel &panel)
{
    for (const Parameter &parameter : catalogue()) {
        if (!writeValue(panel, parameter))
            return &parameter;
    }
    return nullptr;
}

}  // namespace kelvane
