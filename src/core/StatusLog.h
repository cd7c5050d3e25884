// SPDX-License-Identifier: Apache-2.0
// Writes entries into the status pane: a timestamp line, CR LF, the message lines.
#pragma once

#include "Panel.h"

#include <QDateTime>
#include <QStringList>

#include <functional>

namespace kelvane {

class StatusLog {
public:
    using Clock = std::function<QDateTime()>;

    explicit StatusLog(Panel &panel, Clock clock = &QDateTime::currentDateTime);

    // The whole pane becomes this one entry.
    void replace(const QStringList &messageLines);
    // The entry goes below the present text.
    void append(const QStringList &messageLines);
    // The whole pane becomes the message alone, without timestamp.
    void replaceWithMessage(const QString &message);

    // The message lines of the newest entry, without its timestamp.
    const QStringList &lastMessage() const { return m_last; }

    // A number in a message: decimal with one leading blank when not negative.
    static QString number(int n);
    static QString timestamp(const QDateTime &when);

private:
    QString entry(const QStringList &messageLines) const;

    Panel &m_panel;
    Clock m_clock;
    QStringList m_last;
};

}  // namespace kelvane
