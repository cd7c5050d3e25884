// SPDX-License-Identifier: Apache-2.0
// What a Step machine tells as it works: the engine turns it into signals.
#pragma once

#include "core/DeviceAddress.h"
#include "core/Operation.h"
#include "replies/Answer.h"

#include <QStringList>

namespace kelvane {

class Reporter {
public:
    virtual ~Reporter() = default;

    // A discovery broadcast went out; round counts from 1.
    virtual void onScanRound(int round, const QStringList &entry) = 0;
    // A module joined the DeviceTable at this row.
    virtual void onListed(int row) = 0;
    // A reset took the module at this row out of the DeviceTable.
    virtual void onRemoved(int row, const DeviceAddress &module) = 0;
    // A read, write or defaults began an attempt (0 for the first); the
    // entry is the one the window shows for it, empty for a retry.
    virtual void onAttempt(Operation operation, int attempt, const QStringList &entry) = 0;
    // An answer to a query, decoded; `done` answers of 17 so far.
    virtual void onAnswer(const Parameter &parameter, const Answer &answer, int done) = 0;
    // A write's parameter was acknowledged; `done` of 17 so far.
    virtual void onAck(int done) = 0;
    // A frame went out on no card; the entry says why.
    virtual void onSendFailed(const QString &entry) = 0;
    virtual void onEnded(Operation operation, OutcomeKind kind, const QStringList &entry) = 0;
};

}  // namespace kelvane
