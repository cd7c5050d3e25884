// SPDX-License-Identifier: Apache-2.0
#include "ModulesModel.h"

#include "protocol/Catalogue.h"
#include "protocol/ParameterNames.h"

namespace kelvane {

ModulesModel::ModulesModel(Engine &engine, QObject *parent) : QAbstractTableModel(parent), m_engine(engine)
{
    m_rows = scannedRows(engine.deviceTable(), engine.link());
    m_states.resize(m_rows.size());
    connect(&engine, &Engine::moduleListed, this, &ModulesModel::listed);
    connect(&engine, &Engine::moduleRemoved, this, [this](int row) { removed(row); });
}

int ModulesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ModulesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

int ModulesModel::rowOf(const DeviceAddress &module) const
{
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].module == module)
            return int(i);
    }
    return -1;
}

QString ModulesModel::statusText(Status status)
{
    switch (status) {
    case Status::None:
        return {};
    case Status::Waiting:
        return tr("等待");
    case Status::Reading:
        return tr("正在读取");
    case Status::Writing:
        return tr("正在写入");
    case Status::Verifying:
        return tr("正在校验");
    case Status::Restarting:
        return tr("正在重启");
    case Status::Read:
        return tr("已读取");
    case Status::Unchanged:
        return tr("无需更改");
    case Status::Written:
        return tr("已写入");
    case Status::Verified:
        return tr("已写入并校验");
    case Status::Restarted:
        return tr("已写入、校验并重启");
    case Status::NotFound:
        return tr("未找到");
    case Status::Failed:
        return tr("失败");
    case Status::Differs:
        return tr("回读不一致");
    case Status::NotStarted:
        return tr("未开始");
    }
    return {};
}

QString ModulesModel::warningsText(const ModuleRow &row, bool full) const
{
    QStringList parts;
    for (const ModuleWarning &warning : row.warnings) {
        if (full)
            parts << warning.text;
        else if (warning.code == QLatin1String("duplicate-ip"))
            parts << tr("IP地址重复");
        else if (warning.code == QLatin1String("other-subnet"))
            parts << tr("不在网卡子网内");
        else
            parts << warning.code;
    }
    return parts.join(full ? QStringLiteral("\n") : tr("，"));
}

QVariant ModulesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ModuleRow &row = m_rows.at(index.row());
    const State &state = m_states.at(index.row());
    if (role == SortRole && index.column() == Position)
        return row.position;
    if (role == Qt::ToolTipRole) {
        if (index.column() == Warnings)
            return warningsText(row, true);
        if (index.column() == Result)
            return state.detail;
        return {};
    }
    if (role != Qt::DisplayRole && role != SortRole)
        return {};
    switch (Column(index.column())) {
    case Position:
        return row.position;
    case Address:
        return row.module.toHex();
    case Source:
        return row.source;
    case Card:
        return row.card.name.isEmpty() ? QString() : QStringLiteral("%1 (%2)").arg(row.card.name, row.card.address);
    case Warnings:
        return warningsText(row, false);
    case IpAddress:
        return row.ipAddress;
    // List items as the main window shows them, in its language.
    case BaudRate:
        return row.baudRate.isEmpty() ? QString() : catalogueText(row.baudRate.toUtf8().constData());
    case SocketMode:
        return row.socketMode.isEmpty() ? QString() : catalogueText(row.socketMode.toUtf8().constData());
    case Result:
        return state.detail.isEmpty() ? statusText(state.status)
                                      : statusText(state.status) + tr("：") + state.detail;
    case ColumnCount:
        break;
    }
    return {};
}

QVariant ModulesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (Column(section)) {
    case Position:
        return tr("序号");
    case Address:
        return tr("模块地址");
    case Source:
        return tr("应答来自");
    case Card:
        return tr("网卡");
    case Warnings:
        return tr("警告");
    case IpAddress:
        return tr("IP地址");
    case BaudRate:
        return tr("波特率");
    case SocketMode:
        return tr("端口模式");
    case Result:
        return tr("结果");
    case ColumnCount:
        break;
    }
    return {};
}

void ModulesModel::listed(int row, const DeviceAddress &module)
{
    beginInsertRows({}, row, row);
    m_rows.insert(row, heardRow(module, row + 1, m_engine.link()));
    m_states.insert(row, State{});
    endInsertRows();
    refreshWarnings();
}

void ModulesModel::removed(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    m_states.removeAt(row);
    endRemoveRows();
    // The rows below move up one place in the list.
    for (qsizetype i = row; i < m_rows.size(); ++i)
        m_rows[i].position = int(i) + 1;
    if (row < m_rows.size())
        emit dataChanged(index(row, Position), index(int(m_rows.size()) - 1, Position));
    refreshWarnings();
}

void ModulesModel::refreshWarnings()
{
    updateWarnings(m_rows);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, Warnings), index(int(m_rows.size()) - 1, Warnings));
}

void ModulesModel::setStatus(int row, Status status, const QString &detail)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_states[row] = {status, detail};
    emit dataChanged(index(row, Result), index(row, Result));
}

void ModulesModel::setWaiting(int row)
{
    setStatus(row, Status::Waiting);
}

void ModulesModel::setPhase(int row, ModuleJob::Phase phase)
{
    switch (phase) {
    case ModuleJob::Phase::Read:
        setStatus(row, Status::Reading);
        break;
    case ModuleJob::Phase::Write:
        setStatus(row, Status::Writing);
        break;
    case ModuleJob::Phase::Verify:
        setStatus(row, Status::Verifying);
        break;
    case ModuleJob::Phase::Reset:
        setStatus(row, Status::Restarting);
        break;
    }
}

void ModulesModel::setEnded(int row, const ModuleJob &job)
{
    if (row < 0 || row >= m_rows.size())
        return;
    const JobOutcome &outcome = job.outcome();
    ModuleRow &shown = m_rows[row];
    shown.result = resultName(outcome.result);
    Status status = Status::Failed;
    QString detail;
    switch (outcome.result) {
    case JobOutcome::Read:
    case JobOutcome::Unchanged:
    case JobOutcome::WouldChange:
        takeValues(shown, outcome.before);
        status = outcome.result == JobOutcome::Unchanged ? Status::Unchanged : Status::Read;
        break;
    case JobOutcome::Written:
    case JobOutcome::Verified:
    case JobOutcome::Restarted:
        takeValues(shown, outcome.target);
        status = outcome.result == JobOutcome::Restarted ? Status::Restarted
                 : outcome.result == JobOutcome::Verified ? Status::Verified
                                                           : Status::Written;
        break;
    case JobOutcome::Differs: {
        // What the module holds: what it was written, but where it read back otherwise.
        ParameterValues held = outcome.target;
        QStringList parts;
        for (const Difference &d : outcome.differences) {
            if (d.actual)
                held.set(*d.parameter, *d.actual);
            parts << QStringLiteral("%1 %2 != %3").arg(parameterKey(*d.parameter), d.expected, d.actual.value_or(QString()));
        }
        takeValues(shown, held);
        status = Status::Differs;
        detail = parts.join(QStringLiteral("; "));
        break;
    }
    case JobOutcome::NotFound:
        status = Status::NotFound;
        detail = outcome.message;
        break;
    case JobOutcome::Failed:
    case JobOutcome::Refused:
    case JobOutcome::Pending:
        takeValues(shown, outcome.before);
        detail = outcome.message;
        break;
    case JobOutcome::NotStarted:
        status = Status::NotStarted;
        break;
    }
    m_states[row] = {status, detail};
    emit dataChanged(index(row, IpAddress), index(row, Result));
}

void ModulesModel::setNotStarted(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row].result = resultName(JobOutcome::NotStarted);
    setStatus(row, Status::NotStarted);
}

}  // namespace kelvane
