// SPDX-License-Identifier: Apache-2.0
#include "WriteSenders.h"

#include "ParameterNames.h"

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

std::optional<QByteArray> wireValue(const Parameter &parameter, const QString &value)
{
    switch (parameter.kind) {
    case ValueKind::Choice: {
        const qsizetype index = parameter.items.indexOf(value);
        if (index < 0)
            return std::nullopt;
        return QByteArray(1, char('0' + parameter.digitOffset + index));
    }
    case ValueKind::Text:
        if (!isSingleByteText(value))
            return std::nullopt;
        return value.toLatin1();
    case ValueKind::StartMode: {
        // "2" stands for DHCP: only a chosen mode is ever sent as one.
        const qsizetype digit = startModeNames().indexOf(value);
        if (digit < 0)
            return std::nullopt;
        return QByteArray::number(digit);
    }
    }
    return std::nullopt;
}

std::variant<QByteArrayList, const Parameter *> wireValues(const ParameterValues &values)
{
    QByteArrayList bytes;
    for (const Parameter &parameter : catalogue()) {
        std::optional<QByteArray> value;
        if (values.contains(parameter))
            value = wireValue(parameter, values.value(parameter));
        if (!value)
            return &parameter;
        bytes.append(*value);
    }
    return bytes;
}

QString invalidValueMessage(const Parameter &parameter)
{
    const QString label = catalogueText(parameter.label);
    switch (parameter.kind) {
    case ValueKind::Choice:
        return QCoreApplication::translate("Write", "%1参数无效，请从列表中选择！").arg(label);
    case ValueKind::Text:
        // Each text row holds one form, so the message can say which.
        switch (parameter.answer) {
        case AnswerLayout::Address:
            return QCoreApplication::translate("Write", "%1参数无效，请输入以“.”分隔的四组数字，每组0到255！").arg(label);
        case AnswerLayout::FiveDigits:
            return QCoreApplication::translate("Write", "%1参数无效，请输入0到65535的数字！").arg(label);
        case AnswerLayout::FourDigits:
            return QCoreApplication::translate("Write", "%1参数无效，请输入1到4位数字！").arg(label);
        case AnswerLayout::Choice:
        case AnswerLayout::StartMode:
            break;
        }
        return QCoreApplication::translate("Write", "%1参数无效，只能输入单字节字符！").arg(label);
    case ValueKind::StartMode:
        return QCoreApplication::translate("Write", "%1参数无效，请选择一种启动方式！").arg(label);
    }
    return label;
}

std::variant<ParameterValues, const Parameter *> writeValues(const Panel &panel)
{
    constexpr Control StartModeButtons[] = {Control::Direct, Control::PPPOE, Control::DHCP};
    ParameterValues values;
    for (const Parameter &parameter : catalogue()) {
        QString shown;
        switch (parameter.kind) {
        case ValueKind::Choice: {
            const int index = panel.selectedIndex(parameter.control);
            if (index >= 0 && index < parameter.items.size())
                shown = parameter.items.at(index);
            break;
        }
        case ValueKind::Text:
            shown = panel.text(parameter.control);
            break;
        case ValueKind::StartMode:
            // Direct before PPPOE before DHCP, should more than one be checked.
            for (int digit = 0; digit < 3 && shown.isEmpty(); ++digit) {
                if (panel.isChecked(StartModeButtons[digit]))
                    shown = startModeNames().at(digit);
            }
            break;
        }
        if (parameter.kind != ValueKind::Text && shown.isEmpty())
            return &parameter;
        if (values.set(parameter, shown))
            return &parameter;
    }
    return values;
}

}  // namespace kelvane
