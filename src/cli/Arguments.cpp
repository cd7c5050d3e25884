// SPDX-License-Identifier: Apache-2.0
#include "Arguments.h"

#include "Commands.h"
#include "profiles/Profile.h"

namespace kelvane::cli {

std::variant<QList<DeviceAddress>, int> moduleArguments(const Output &out, const QStringList &texts)
{
    QList<DeviceAddress> modules;
    for (const QString &text : texts) {
        const std::optional<DeviceAddress> module = DeviceAddress::fromHex(text);
        if (!module)
            return out.error(BadInput,
                             tr("'%1' is no module address: give its 12 hex digits, e.g. 024B56000001.").arg(text));
        if (modules.contains(*module))
            return out.error(BadInput, tr("Module %1 is named twice.").arg(module->toHex()));
        modules << *module;
    }
    return modules;
}

std::variant<ParameterValues, int> assignmentArguments(const Output &out, const QStringList &texts)
{
    ParameterValues values;
    for (const QString &text : texts) {
        const Result<Assignment, ValueError> parsed = parseAssignment(text);
        if (!parsed)
            return out.error(BadInput, parsed.error().message);
        const Parameter &parameter = *parsed.value().parameter;
        // As in profiles: a name given twice is a mistake, not a choice.
        if (values.contains(parameter))
            return out.error(BadInput, tr("%1 is given twice.").arg(QLatin1String(parameter.key)));
        values.set(parameter, parsed.value().value);
    }
    return values;
}

std::variant<ParameterValues, int> profileArgument(const Output &out, const QString &file)
{
    const Result<ParameterValues, ProfileError> loaded = loadProfile(file);
    if (!loaded)
        return out.error(BadInput, loaded.error().message);
    return loaded.value();
}

int usage(const Output &out, const char *name, const char *arguments)
{
    return out.error(BadInput, QStringLiteral("Usage: kelvane %1 %2").arg(QLatin1String(name), QLatin1String(arguments)));
}

}  // namespace kelvane::cli
