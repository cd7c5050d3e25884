// SPDX-License-Identifier: Apache-2.0
// Profile files as the tests write them, JSON parameters with some changed, and
// parameter values from NAME=VALUE lines.
#pragma once

#include "protocol/ParameterValues.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace kelvane::test {

// The JSON parameters with these changed.
inline QJsonObject with(QJsonObject values, const QJsonObject &changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        values.insert(it.key(), it.value());
    return values;
}

inline QByteArray profileOf(const QJsonObject &parameters)
{
    return QJsonDocument(QJsonObject{{"format", "kelvane-profile"}, {"version", 1}, {"parameters", parameters}})
        .toJson();
}

// A set built from NAME=VALUE lines the test knows to be valid, later lines replacing earlier ones.
inline ParameterValues valuesOf(const QStringList &assignments)
{
    ParameterValues values;
    for (const QString &line : assignments) {
        const auto parsed = parseAssignment(line);
        if (!parsed.ok())
            qFatal("not a valid NAME=VALUE: %s", qPrintable(line));
        values.set(*parsed.value().parameter, parsed.value().value);
    }
    return values;
}

// The file made in the directory; its path.
inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return file.fileName();
}

}  // namespace kelvane::test
