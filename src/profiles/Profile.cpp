// SPDX-License-Identifier: Apache-2.0
#include "Profile.h"

#include "JsonKeys.h"
#include "protocol/ParameterNames.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace kelvane {

namespace {
struct Text {
    Q_DECLARE_TR_FUNCTIONS(kelvane::Profile)
};

const QString FormatField = QStringLiteral("format");
const QString VersionField = QStringLiteral("version");
const QString ParametersField = QStringLiteral("parameters");

ProfileError fileError(const QString &file, const QString &reason, const QString &parameter = {})
{
    return {file, parameter, Text::tr("%1: %2").arg(file, reason)};
}

// A JSON value's text for messages: "\"kelvane\"", "2", "[...]".
QString shown(const QJsonValue &value)
{
    if (value.isUndefined())
        return Text::tr("missing");
    const QByteArray json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.sliced(1, json.size() - 2));
}

// One string as JSON: quotes and escapes done by Qt.
QByteArray quoted(const QString &text)
{
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return json.sliced(1, json.size() - 2);
}

std::optional<ProfileError> duplicateError(const QByteArray &bytes, const QString &file)
{
    const auto duplicate = firstDuplicateKey(bytes);
    if (!duplicate)
        return std::nullopt;
    if (duplicate->path == QStringList{ParametersField} && parameterByKey(duplicate->key)) {
        return fileError(file, Text::tr("%1: given more than once").arg(duplicate->key),
                         duplicate->key);
    }
    QStringList where = duplicate->path;
    where.append(duplicate->key);
    return fileError(file, Text::tr("\"%1\" is given more than once").arg(where.join(u'.')));
}

std::optional<ProfileError> headerError(const QJsonObject &root, const QString &file)
{
    const QStringList fields = {FormatField, VersionField, ParametersField};
    for (const QString &key : root.keys()) {
        if (!fields.contains(key)) {
            return fileError(file, Text::tr("unknown field \"%1\"; a profile holds only %2")
                                       .arg(key, fields.join(QStringLiteral(", "))));
        }
    }
    const QJsonValue format = root.value(FormatField);
    if (format.toString() != QLatin1StringView(ProfileFormat)) {
        return fileError(file, Text::tr("format is %1, expected \"%2\"")
                                   .arg(shown(format), QLatin1StringView(ProfileFormat)));
    }
    const QJsonValue version = root.value(VersionField);
    if (!version.isDouble() || version.toDouble() != ProfileVersion) {
        return fileError(file, Text::tr("version is %1; this program reads version %2")
                                   .arg(shown(version), QString::number(ProfileVersion)));
    }
    if (!root.value(ParametersField).isObject()) {
        return fileError(file, Text::tr("parameters is %1, expected an object")
                                   .arg(shown(root.value(ParametersField))));
    }
    return std::nullopt;
}
}  // namespace

Result<ParameterValues, ProfileError> readProfile(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.size() > MaxProfileBytes) {
        return fileError(fileName, Text::tr("larger than %1 bytes, not a profile")
                                       .arg(MaxProfileBytes));
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return fileError(fileName, Text::tr("not JSON: %1 at byte %2")
                                       .arg(parseError.errorString())
                                       .arg(parseError.offset));
    }
    if (!document.isObject())
        return fileError(fileName, Text::tr("not a profile: expected a JSON object"));
    if (auto error = duplicateError(bytes, fileName))
        return *error;
    const QJsonObject root = document.object();
    if (auto error = headerError(root, fileName))
        return *error;
    auto values = ParameterValues::fromJson(root.value(ParametersField).toObject());
    if (!values)
        return fileError(fileName, values.error().message, values.error().parameter);
    return values.value();
}

Result<ParameterValues, ProfileError> loadProfile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fileError(path, Text::tr("cannot be read: %1").arg(file.errorString()));
    // One byte more than allowed is enough to tell a file that is too large.
    const QByteArray bytes = file.read(MaxProfileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return fileError(path, Text::tr("cannot be read: %1").arg(file.errorString()));
    return readProfile(bytes, path);
}

QByteArray profileText(const ParameterValues &values)
{
    QByteArray text = "{\n";
    text += "    " + quoted(FormatField) + ": " + quoted(QLatin1StringView(ProfileFormat)) + ",\n";
    text += "    " + quoted(VersionField) + ": " + QByteArray::number(ProfileVersion) + ",\n";
    text += "    " + quoted(ParametersField) + ": {";
    const QList<const Parameter *> held = values.parameters();
    for (qsizetype i = 0; i < held.size(); ++i) {
        text += i == 0 ? "\n" : ",\n";
        text += "        " + quoted(parameterKey(*held[i])) + ": " + quoted(values.value(*held[i]));
    }
    text += held.isEmpty() ? "}\n" : "\n    }\n";
    text += "}\n";
    return text;
}

std::optional<ProfileError> saveProfile(const ParameterValues &values, const QString &path)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(profileText(values));
        if (file.commit())
            return std::nullopt;
    }
    return fileError(path, Text::tr("cannot be written: %1").arg(file.errorString()));
}

}  // namespace kelvane
