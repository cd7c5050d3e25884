// SPDX-License-Identifier: Apache-2.0
#include "Outcome.h"

namespace kelvane {

QString outcomeWord(OutcomeKind kind)
{
    switch (kind) {
    case OutcomeKind::Done:
        return QStringLiteral("done");
    case OutcomeKind::NoAnswer:
        return QStringLiteral("no-answer");
    case OutcomeKind::Refused:
        return QStringLiteral("refused");
    case OutcomeKind::BadAnswer:
        return QStringLiteral("bad-answer");
    case OutcomeKind::NotFound:
        return QStringLiteral("not-found");
    case OutcomeKind::Superseded:
        return QStringLiteral("superseded");
    case OutcomeKind::PortUnavailable:
        return QStringLiteral("port-unavailable");
    case OutcomeKind::SendFailed:
        return QStringLiteral("send-failed");
    case OutcomeKind::InvalidValue:
        return QStringLiteral("invalid-value");
    }
    return {};
}

QString operationWord(Operation operation)
{
    switch (operation) {
    case Operation::Scan:
        return QStringLiteral("scan");
    case Operation::Read:
        return QStringLiteral("read");
    case Operation::Write:
        return QStringLiteral("write");
    case Operation::Defaults:
        return QStringLiteral("defaults");
    case Operation::Reset:
        return QStringLiteral("reset");
    }
    return {};
}

}  // namespace kelvane
