// SPDX-License-Identifier: Apache-2.0
#include "StatusLog.h"

namespace kelvane {

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

StatusLog::StatusLog(Panel &panel, Clock clock) : m_panel(panel), m_clock(std::move(clock)) {}

void StatusLog::replace(const QStringList &messageLines)
{
    m_last = messageLines;
    m_panel.replaceLog(entry(messageLines));
}

void StatusLog::append(const QStringList &messageLines)
{
    m_last = messageLines;
    m_panel.appendLog(entry(messageLines));
}

void StatusLog::replaceWithMessage(const QString &message)
{
    m_last = {message};
    m_panel.replaceLog(message);
}

QString StatusLog::number(int n)
{
    return n >= 0 ? QLatin1Char(' ') + QString::number(n) : QString::number(n);
}

QString StatusLog::timestamp(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString StatusLog::entry(const QStringList &messageLines) const
{
    return timestamp(m_clock()) + CrLf + messageLines.join(CrLf);
}

}  // namespace kelvane
