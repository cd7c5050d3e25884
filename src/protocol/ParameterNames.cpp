// SPDX-License-Identifier: Apache-2.0
#include "ParameterNames.h"

namespace kelvane {

const Parameter *parameterByKey(QStringView key)
{
    for (const Parameter &parameter : catalogue()) {
        if (key == QLatin1StringView(parameter.key))
            return &parameter;
    }
    return nullptr;
}

int parameterRow(const Parameter &parameter)
{
    return int(&parameter - catalogue().data());
}

QStringList parameterKeys()
{
    QStringList keys;
    for (const Parameter &parameter : catalogue())
        keys.append(parameterKey(parameter));
    return keys;
}

QString parameterKey(const Parameter &parameter)
{
    return QString::fromLatin1(parameter.key);
}

}  // namespace kelvane
