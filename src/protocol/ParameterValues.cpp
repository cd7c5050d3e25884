// SPDX-License-Identifier: Apache-2.0
#include "ParameterValues.h"

#include "ParameterNames.h"

#include <QCoreApplication>
#include <QJsonValue>

#include <algorithm>

namespace kelvane {

namespace {
struct Text {
    Q_DECLARE_TR_FUNCTIONS(kelvane::ParameterValues)
};

// The start-mode buttons in wire-digit order, matching startModeNames().
constexpr std::array StartModeButtons = {Control::Direct, Control::PPPOE, Control::DHCP};

QString jsonTypeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return Text::tr("null");
    case QJsonValue::Bool:
        return Text::tr("a boolean");
    case QJsonValue::Double:
        return Text::tr("a number");
    case QJsonValue::String:
        return Text::tr("a text");
    case QJsonValue::Array:
        return Text::tr("a list");
    case QJsonValue::Object:
        return Text::tr("an object");
    case QJsonValue::Undefined:
        break;
    }
    return Text::tr("nothing");
}
}  // namespace

std::optional<ValueError> ParameterValues::set(const Parameter &parameter, const QString &value)
{
    auto parsed = parseValue(parameter, value);
    if (!parsed)
        return parsed.error();
    m_values[parameterRow(parameter)] = parsed.value();
    return std::nullopt;
}

void ParameterValues::remove(const Parameter &parameter)
{
    m_values[parameterRow(parameter)].reset();
}

void ParameterValues::merge(const ParameterValues &other)
{
    for (int row = 0; row < ParameterCount; ++row) {
        if (other.m_values[row])
            m_values[row] = other.m_values[row];
    }
}

bool ParameterValues::contains(const Parameter &parameter) const
{
    return m_values[parameterRow(parameter)].has_value();
}

QString ParameterValues::value(const Parameter &parameter) const
{
    return m_values[parameterRow(parameter)].value_or(QString());
}

int ParameterValues::size() const
{
    return int(std::count_if(m_values.begin(), m_values.end(),
                             [](const std::optional<QString> &v) { return v.has_value(); }));
}

QList<const Parameter *> ParameterValues::parameters() const
{
    QList<const Parameter *> held;
    for (const Parameter &parameter : catalogue()) {
        if (contains(parameter))
            held.append(&parameter);
    }
    return held;
}

Result<ParameterValues, ValueError> ParameterValues::fromPanel(const Panel &panel)
{
    ParameterValues values;
    for (const Parameter &parameter : catalogue()) {
        QString shown;
        switch (parameter.kind) {
        case ValueKind::Choice: {
            // The index is what goes on the wire; the item names it.
            const int index = panel.selectedIndex(parameter.control);
            if (index < 0 || index >= parameter.items.size())
                continue;
            shown = parameter.items.at(index);
            break;
        }
        case ValueKind::Text:
            // An empty box shows nothing, as a combo box without a selection.
            shown = panel.text(parameter.control);
            if (shown.isEmpty())
                continue;
            break;
        case ValueKind::StartMode: {
            // The write sender's order: Direct before PPPOE before DHCP.
            const auto checked = std::find_if(StartModeButtons.begin(), StartModeButtons.end(),
                                              [&](Control c) { return panel.isChecked(c); });
            if (checked == StartModeButtons.end())
                continue;
            shown = startModeNames().at(checked - StartModeButtons.begin());
            break;
        }
        }
        if (auto error = values.set(parameter, shown))
            return *error;
    }
    return values;
}

bool ParameterValues::applyTo(Panel &panel) const
{
    bool applied = true;
    for (const Parameter *parameter : parameters()) {
        const QString value = this->value(*parameter);
        switch (parameter->kind) {
        case ValueKind::Choice:
            applied = panel.selectIndex(parameter->control, int(parameter->items.indexOf(value)))
                      && applied;
            break;
        case ValueKind::Text:
            panel.setText(parameter->control, value);
            break;
        case ValueKind::StartMode:
            // The three buttons are one group: checking one clears the others.
            panel.setChecked(StartModeButtons.at(startModeNames().indexOf(value)), true);
            break;
        }
    }
    return applied;
}

QJsonObject ParameterValues::toJson() const
{
    QJsonObject object;
    for (const Parameter *parameter : parameters())
        object.insert(parameterKey(*parameter), value(*parameter));
    return object;
}

Result<ParameterValues, ValueError> ParameterValues::fromJson(const QJsonObject &object)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!parameterByKey(it.key())) {
            return ValueError{it.key(), Text::tr("unknown parameter \"%1\"; known: %2")
                                            .arg(it.key(), parameterKeys().join(QStringLiteral(", ")))};
        }
    }
    ParameterValues values;
    for (const Parameter &parameter : catalogue()) {
        const QString key = parameterKey(parameter);
        const QJsonValue member = object.value(key);
        if (member.isUndefined())
            continue;
        if (!member.isString()) {
            return ValueError{key, Text::tr("%1: expected a text, found %2")
                                       .arg(key, jsonTypeName(member))};
        }
        if (auto error = values.set(parameter, member.toString()))
            return *error;
    }
    return values;
}

QList<Difference> compareValues(const ParameterValues &expected, const ParameterValues &actual)
{
    QList<Difference> differences;
    for (const Parameter *parameter : expected.parameters()) {
        const QString want = expected.value(*parameter);
        if (!actual.contains(*parameter)) {
            differences.append({parameter, want, std::nullopt});
            continue;
        }
        const QString have = actual.value(*parameter);
        if (!sameValue(*parameter, want, have))
            differences.append({parameter, want, have});
    }
    return differences;
}

}  // namespace kelvane
