// SPDX-License-Identifier: Apache-2.0
#include "ModuleList.h"

#include "protocol/ParameterNames.h"

namespace kelvane {

namespace {
QString csvField(const QString &value)
{
    if (!value.contains(u',') && !value.contains(u'"') && !value.contains(u'\n') && !value.contains(u'\r'))
        return value;
    QString quoted = value;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}
}  // namespace

ModuleRow heardRow(const DeviceAddress &module, int position, const Link &link)
{
    ModuleRow row;
    row.module = module;
    row.position = position;
    if (const std::optional<ModuleRoute> route = link.routeOf(module)) {
        row.source = route->peer.toString();
        row.card = {route->card.name, route->card.address.toString(), route->card.prefixLength};
    }
    return row;
}

QList<ModuleRow> scannedRows(const DeviceTable &table, const Link &link)
{
    QList<ModuleRow> rows;
    for (int i = 0; i < table.count(); ++i)
        rows.append(heardRow(table.address(i), i + 1, link));
    updateWarnings(rows);
    return rows;
}

void updateWarnings(QList<ModuleRow> &rows)
{
    // The one place that turns rows into what the warning rules take.
    QList<HeardModule> heard;
    heard.reserve(rows.size());
    for (const ModuleRow &row : rows)
        heard.append({row.module.toHex(), row.source, row.card});
    const QList<QList<ModuleWarning>> warnings = moduleWarnings(heard);
    for (qsizetype i = 0; i < rows.size(); ++i)
        rows[i].warnings = warnings.value(i);
}

void takeValues(ModuleRow &row, const ParameterValues &values)
{
    const auto take = [&values](QString &field, QStringView key) {
        const Parameter &parameter = *parameterByKey(key);
        if (values.contains(parameter))
            field = values.value(parameter);
    };
    take(row.ipAddress, u"ip_address");
    take(row.baudRate, u"baud_rate");
    take(row.socketMode, u"socket_mode");
}

QByteArray modulesCsv(const QList<ModuleRow> &rows)
{
    QString text = QLatin1String(ModulesCsvHeader) + u'\n';
    for (const ModuleRow &row : rows) {
        QStringList codes;
        for (const ModuleWarning &warning : row.warnings)
            codes << warning.code;
        const QStringList fields = {QString::number(row.position), row.module.toHex(), row.source,
                                    row.card.name, row.card.address, row.ipAddress, row.baudRate,
                                    row.socketMode, codes.join(u';'), row.result};
        QStringList line;
        for (const QString &field : fields)
            line << csvField(field);
        text += line.join(u',') + u'\n';
    }
    return text.toUtf8();
}

}  // namespace kelvane
