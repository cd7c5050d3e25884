// SPDX-License-Identifier: Apache-2.0
// The modules table's rows: one per module of Device_List, in its order, with
// where it answered from, its warnings, the values a job brought back and how
// the last job on it went.
#pragma once

#include "operations/Engine.h"
#include "profiles/ModuleJob.h"
#include "profiles/ModuleList.h"

#include <QAbstractTableModel>

namespace kelvane {

class ModulesModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Position, Address, Source, Card, Warnings, IpAddress, BaudRate, SocketMode, Result, ColumnCount };
    // What a row shows in its result column.
    enum class Status { None, Waiting, Reading, Writing, Verifying, Restarting, Read, Unchanged, Written, Verified,
                        Restarted, NotFound, Failed, Differs, NotStarted };
    // What the proxy sorts by: numbers as numbers.
    static constexpr int SortRole = Qt::UserRole;

    explicit ModulesModel(Engine &engine, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const QList<ModuleRow> &rows() const { return m_rows; }
    Status status(int row) const { return row >= 0 && row < m_states.size() ? m_states.at(row).status : Status::None; }
    int rowOf(const DeviceAddress &module) const;

    // A job on the module began, went on to a phase, or ended.
    void setWaiting(int row);
    void setPhase(int row, ModuleJob::Phase phase);
    void setEnded(int row, const ModuleJob &job);
    void setNotStarted(int row);

    // The text a row's result column shows.
    static QString statusText(Status status);

private:
    struct State {
        Status status = Status::None;
        QString detail;  // why it failed, or what differed
    };

    void listed(int row, const DeviceAddress &module);
    void removed(int row);
    // Warnings depend on every row: all are worked out again, one signal for the column.
    void refreshWarnings();
    void setStatus(int row, Status status, const QString &detail = {});
    QString warningsText(const ModuleRow &row, bool full) const;

    Engine &m_engine;
    QList<ModuleRow> m_rows;
    QList<State> m_states;
};

}  // namespace kelvane
