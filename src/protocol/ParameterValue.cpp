// SPDX-License-Identifier: Apache-2.0
#include "ParameterValue.h"

#include "ParameterNames.h"
#include "WriteSenders.h"
#include "core/Language.h"

#include <QCoreApplication>

#include <algorithm>

namespace kelvane {

namespace {
// Messages for people, translated in the context "kelvane::ParameterValue".
struct Text {
    Q_DECLARE_TR_FUNCTIONS(kelvane::ParameterValue)
};

bool isDecimal(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// "007" and "7" are the same number; comparing texts avoids any overflow.
QStringView withoutLeadingZeros(QStringView digits)
{
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    return digits;
}

QString choiceAllowed(const Parameter &parameter)
{
    QStringList spellings;
    for (int i = 0; i < parameter.items.size(); ++i)
        spellings += itemSpellings(parameter, i);
    return Text::tr("%1, or an index from 0 to %2")
        .arg(spellings.join(QStringLiteral(", ")))
        .arg(parameter.items.size() - 1);
}

Result<QString, ValueError> parseChoice(const Parameter &parameter, const QString &input)
{
    const QString key = parameterKey(parameter);
    for (int i = 0; i < parameter.items.size(); ++i) {
        if (itemSpellings(parameter, i).contains(input))
            return parameter.items.at(i);
    }
    if (isDecimal(input)) {
        bool fits = false;
        const int index = input.toInt(&fits);
        if (fits && index < parameter.items.size())
            return parameter.items.at(index);
        return ValueError{key, Text::tr("%1: index %2 is out of range; allowed: %3")
                                   .arg(key, input, choiceAllowed(parameter))};
    }
    return ValueError{key, Text::tr("%1: \"%2\" is not an item; allowed: %3")
                               .arg(key, input, choiceAllowed(parameter))};
}

// The widest number of digits and the largest value of each text form.
constexpr int AddressGroupDigits = 3;
constexpr int AddressGroupMax = 255;
constexpr int AddressGroups = 4;
constexpr int PortDigits = 5;
constexpr int PortMax = 65535;
constexpr int DelimiterDigits = 4;
constexpr int DelimiterMax = 9999;

// 1 to maxDigits decimal digits, at most max. Leading zeros are kept, as the
// modules answer them.
bool isNumber(QStringView text, int maxDigits, int max)
{
    return isDecimal(text) && text.size() <= maxDigits && text.toInt() <= max;
}

bool isAddress(QStringView text)
{
    const QList<QStringView> groups = text.split(u'.');
    return groups.size() == AddressGroups
           && std::all_of(groups.begin(), groups.end(), [](QStringView group) {
                  return isNumber(group, AddressGroupDigits, AddressGroupMax);
              });
}

std::optional<QString> singleByteError(const QString &key, const QString &input)
{
    if (isSingleByteText(input))
        return std::nullopt;
    qsizetype position = 0;
    while (input.at(position).unicode() <= 0xFF)
        ++position;
    const QString code = QString::number(input.at(position).unicode(), 16).rightJustified(4, u'0');
    const QString message = Text::tr("%1: character U+%2 at position %3 has no single-byte code; "
                                     "allowed: characters up to U+00FF");
    return message.arg(key, code.toUpper()).arg(position + 1);
}

// The module reads each text row as a number or an address: anything else it
// refuses or, worse, stores as something the operator did not type.
std::optional<QString> textFormError(const Parameter &parameter, const QString &input)
{
    const QString key = parameterKey(parameter);
    if (auto error = singleByteError(key, input))
        return error;
    switch (parameter.answer) {
    case AnswerLayout::Address:
        if (isAddress(input))
            return std::nullopt;
        return Text::tr("%1: \"%2\" is not an address; allowed: four groups of 1 to 3 digits "
                        "separated by dots, each from 0 to 255").arg(key, input);
    case AnswerLayout::FiveDigits:
        if (isNumber(input, PortDigits, PortMax))
            return std::nullopt;
        return Text::tr("%1: \"%2\" is not a port; allowed: 1 to 5 digits, from 0 to 65535")
            .arg(key, input);
    case AnswerLayout::FourDigits:
        if (isNumber(input, DelimiterDigits, DelimiterMax))
            return std::nullopt;
        return Text::tr("%1: \"%2\" is not a delimiter; allowed: 1 to 4 digits").arg(key, input);
    case AnswerLayout::Choice:
    case AnswerLayout::StartMode:
        break;
    }
    return std::nullopt;
}

Result<QString, ValueError> parseText(const Parameter &parameter, const QString &input)
{
    if (auto error = textFormError(parameter, input))
        return ValueError{parameterKey(parameter), *error};
    return input;
}

Result<QString, ValueError> parseStartMode(const Parameter &parameter, const QString &input)
{
    for (const QString &name : startModeNames()) {
        if (input.compare(name, Qt::CaseInsensitive) == 0)
            return name;
    }
    const QString key = parameterKey(parameter);
    return ValueError{key, Text::tr("%1: \"%2\" is not a start mode; allowed: %3")
                               .arg(key, input, startModeNames().join(QStringLiteral(", ")))};
}

bool sameDigits(QStringView a, QStringView b)
{
    return withoutLeadingZeros(a) == withoutLeadingZeros(b);
}

bool sameAddress(const QString &a, const QString &b)
{
    const QStringList left = a.split(u'.');
    const QStringList right = b.split(u'.');
    if (left.size() != 4 || right.size() != 4)
        return a == b;
    for (int i = 0; i < 4; ++i) {
        if (!isDecimal(left[i]) || !isDecimal(right[i]))
            return a == b;
    }
    for (int i = 0; i < 4; ++i) {
        if (!sameDigits(left[i], right[i]))
            return false;
    }
    return true;
}
}  // namespace

const QStringList &startModeNames()
{
    static const QStringList names = {QStringLiteral("direct"), QStringLiteral("pppoe"),
                                      QStringLiteral("dhcp")};
    return names;
}

QStringList itemSpellings(const Parameter &parameter, int index)
{
    const QString item = parameter.items.at(index);
    const QString english = englishText("Catalogue", item);
    if (english == item)
        return {item};
    return {item, english};
}

QString valueForPeople(const Parameter &parameter, const QString &value)
{
    if (parameter.kind != ValueKind::Choice || !parameter.items.contains(value))
        return value;
    return catalogueText(value.toUtf8().constData());
}

Result<QString, ValueError> parseValue(const Parameter &parameter, const QString &input)
{
    switch (parameter.kind) {
    case ValueKind::Choice:
        return parseChoice(parameter, input);
    case ValueKind::Text:
        return parseText(parameter, input);
    case ValueKind::StartMode:
        return parseStartMode(parameter, input);
    }
    return ValueError{parameterKey(parameter), QString()};
}

std::optional<QString> formError(const Parameter &parameter, const QString &text)
{
    auto parsed = parseValue(parameter, text);
    if (parsed)
        return std::nullopt;
    return parsed.error().message;
}

Result<Assignment, ValueError> parseAssignment(const QString &text)
{
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0)
        return ValueError{QString(), Text::tr("\"%1\" is not NAME=VALUE").arg(text)};
    const QString name = text.left(equals);
    const Parameter *parameter = parameterByKey(name);
    if (!parameter) {
        return ValueError{name, Text::tr("unknown parameter \"%1\"; known: %2")
                                    .arg(name, parameterKeys().join(QStringLiteral(", ")))};
    }
    auto value = parseValue(*parameter, text.mid(equals + 1));
    if (!value)
        return value.error();
    return Assignment{parameter, value.value()};
}

bool sameValue(const Parameter &parameter, const QString &a, const QString &b)
{
    switch (parameter.answer) {
    case AnswerLayout::Address:
        return sameAddress(a, b);
    case AnswerLayout::FourDigits:
    case AnswerLayout::FiveDigits:
        if (isDecimal(a) && isDecimal(b))
            return sameDigits(a, b);
        return a == b;
    case AnswerLayout::Choice:
    case AnswerLayout::StartMode:
        return a == b;
    }
    return a == b;
}

}  // namespace kelvane
