// SPDX-License-Identifier: Apache-2.0
// How an operation ended, as data: what every front end reads, whatever it shows.
#pragma once

#include "core/DeviceAddress.h"
#include "core/Operation.h"
#include "protocol/ParameterValues.h"

#include <QStringList>

#include <optional>

namespace kelvane {

struct Outcome {
    Operation operation = Operation::Scan;
    std::optional<DeviceAddress> module;  // none for a scan
    OutcomeKind kind = OutcomeKind::Done;
    // A read's values, those it could take; a write's values as sent.
    ParameterValues values;
    // The parameters whose answers a read could not take, in catalogue order.
    QList<const Parameter *> unreadable;
    // The status entry the window shows for this end, one string a line;
    // empty where the window shows none.
    QStringList entry;

    bool succeeded() const { return kind == OutcomeKind::Done; }
};

// A stable English word for scripts: "done", "no-answer", "refused", ...
QString outcomeWord(OutcomeKind kind);
// "scan", "read", "write", "defaults", "reset".
QString operationWord(Operation operation);

}  // namespace kelvane

Q_DECLARE_METATYPE(kelvane::Outcome)
