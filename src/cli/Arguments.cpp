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

namespace {
const QCommandLineOption AttemptsOption(
    QStringLiteral("attempts"),
    QT_TRANSLATE_NOOP("kelvane::cli", "Send each query and write up to N times before giving up (default 5)."),
    QStringLiteral("N"), QString::number(DefaultFrameAttempts));
const QCommandLineOption TimeoutOption(
    QStringLiteral("timeout"),
    QT_TRANSLATE_NOOP("kelvane::cli", "Wait MS milliseconds for each answer (default 400)."), QStringLiteral("MS"),
    QString::number(TimeoutMs));
constexpr int MaxAttempts = 100;
constexpr int MaxTimeoutMs = 60000;
}  // namespace

QList<QCommandLineOption> frameRetryOptions()
{
    QCommandLineOption attempts = AttemptsOption;
    attempts.setDescription(tr(AttemptsOption.description().toUtf8().constData()));
    QCommandLineOption timeout = TimeoutOption;
    timeout.setDescription(tr(TimeoutOption.description().toUtf8().constData()));
    return {attempts, timeout};
}

std::variant<FrameRetries, int> frameRetryArguments(const Output &out, const QCommandLineParser &parser)
{
    bool attemptsOk = false, timeoutOk = false;
    const FrameRetries retries{parser.value(AttemptsOption).toInt(&attemptsOk),
                               parser.value(TimeoutOption).toInt(&timeoutOk)};
    if (!attemptsOk || retries.attempts < 1 || retries.attempts > MaxAttempts)
        return out.error(BadInput, tr("--attempts takes a number from 1 to %1.").arg(MaxAttempts));
    if (!timeoutOk || retries.timeoutMs < 1 || retries.timeoutMs > MaxTimeoutMs)
        return out.error(BadInput, tr("--timeout takes milliseconds from 1 to %1.").arg(MaxTimeoutMs));
    return retries;
}

int usage(const Output &out, const char *name, const char *arguments)
{
    return out.error(BadInput, QStringLiteral("Usage: kelvane %1 %2").arg(QLatin1String(name), QLatin1String(arguments)));
}

}  // namespace kelvane::cli
