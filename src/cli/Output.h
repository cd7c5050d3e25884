// SPDX-License-Identifier: Apache-2.0
// How the command line answers: results on standard output as text or one JSON
// document, messages on standard error, and the exit status that goes with them.
#pragma once

#include <QJsonObject>
#include <QString>

namespace kelvane::cli {

enum ExitStatus {
    Done = 0,
    Failed = 1,    // the module did not answer, refused, or the operation failed
    BadInput = 2,  // a bad command line or value: nothing was sent
    Interrupted = 130,  // stopped by Ctrl+C, as a shell reports a program it interrupted
};

class Output {
public:
    explicit Output(bool json) : m_json(json) {}
    bool json() const { return m_json; }

    // The result: the JSON document with --json, else the text.
    void result(const QJsonObject &document, const QString &text) const;
    // An error: {"error": message, "outcome": word} on standard output with
    // --json, else the message on standard error. Returns the status, for
    // `return out.error(...)`.
    int error(int status, const QString &message, const QString &outcome = {}) const;
    // A line on standard error, also with --json.
    static void message(const QString &text);

private:
    bool m_json;
};

// Whether standard error is a terminal, so progress is worth showing.
bool stderrIsTerminal();

// "reading 5/17" on one line of the terminal, overwritten as it goes; nothing
// when standard error is not a terminal.
class Progress {
public:
    Progress();
    ~Progress();
    void show(const QString &text);

private:
    bool m_shown = false;
    bool m_enabled;
};

}  // namespace kelvane::cli
