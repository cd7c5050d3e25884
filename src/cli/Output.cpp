// SPDX-License-Identifier: Apache-2.0
#include "Output.h"

#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kelvane::cli {

namespace {
QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}
QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}
}  // namespace

void Output::result(const QJsonObject &document, const QString &text) const
{
    if (m_json)
        out() << QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented));
    else
        out() << text;
    out().flush();
}

int Output::error(int status, const QString &message, const QString &outcome) const
{
    if (m_json) {
        QJsonObject document{{QStringLiteral("error"), message}, {QStringLiteral("message"), message}};
        if (!outcome.isEmpty())
            document.insert(QStringLiteral("outcome"), outcome);
        out() << QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented));
        out().flush();
    } else {
        Output::message(message);
    }
    return status;
}

void Output::message(const QString &text)
{
    err() << text << Qt::endl;
}

bool stderrIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr));
#else
    return isatty(fileno(stderr));
#endif
}

Progress::Progress() : m_enabled(stderrIsTerminal()) {}

Progress::~Progress()
{
    if (m_shown)
        err() << "\r\x1b[K" << Qt::flush;
}

void Progress::show(const QString &text)
{
    if (!m_enabled)
        return;
    err() << "\r\x1b[K" << text << Qt::flush;
    m_shown = true;
}

}  // namespace kelvane::cli
