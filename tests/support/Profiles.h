// SPDX-License-Identifier: Apache-2.0
// Profile files as the tests write them, and JSON parameters with some changed.
#pragma once

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
