// SPDX-License-Identifier: Apache-2.0
// The tool without a window: verbs that name the module they act on, each
// ending in one Outcome, over one Step machine, one socket and one Timer1.
#pragma once

#include "Outcome.h"
#include "Reporter.h"
#include "core/Machine.h"

#include <QObject>

namespace kelvane {

// What a scan looks for: it ends as soon as every module named is listed, or
// as soon as `count` modules are; with neither, after its four rounds.
struct ScanGoal {
    QList<DeviceAddress> modules;
    int count = 0;
};

class Engine final : public QObject, private Reporter {
    Q_OBJECT
public:
    Engine(Link &winsock, OneShotTimer &timer1, QObject *parent = nullptr);

    const DeviceTable &deviceTable() const { return m_table; }
    const Machine &machine() const { return m_machine; }
    // For the fuzzer, which forces states no sequence of events reaches.
    Machine &machine() { return m_machine; }
    Link &link() { return m_machine.Winsock; }
    const Link &link() const { return m_machine.Winsock; }
    // Status entries name the module by its address instead of its position.
    void nameModulesByAddress() { m_machine.namesByAddress = true; }
    // Whether an operation runs; each verb takes over from the one running
    // (that one ends Superseded), a reset only from one on its own module.
    bool busy() const { return m_machine.running.has_value(); }
    bool scanning() const { return m_machine.running == Operation::Scan; }

    // Opens the socket if it is not open yet; false while port 65002 cannot be had.
    bool open();
    // Four discovery rounds; pressing it during a scan adds a round. Whenever
    // no other operation runs, a discovery reply lists its module.
    void scan(const ScanGoal &goal = {});
    // The discovery requests the last scan sent, and whether it stopped
    // before its fourth because it had found what it looked for.
    int scanRounds() const { return m_scanRounds; }
    bool scanStoppedEarly() const { return m_stoppedEarly; }
    // For an engine that works on modules another engine found: it lists
    // none of its own, and hears only the datagrams of the module it works on.
    void hearOwnModuleOnly() { m_hearsDiscovery = false; }
    // Each query and write tried up to `attempts` times on its own, each
    // waited for `timeoutMs`, the next frame sent `settleMs` after an answer;
    // see Machine::frameAttempts and Machine::settleMs.
    void retryEachFrame(int attempts, int timeoutMs, int settleMs = 0)
    {
        m_machine.frameAttempts = attempts;
        m_machine.timeoutMs = timeoutMs;
        m_machine.settleMs = settleMs;
    }
    // While other engines work on the link (an apply's jobs), an idle engine
    // hears nothing of it; true again, it hears as before.
    void setListening(bool listening) { m_listening = listening; }
    bool listening() const { return m_listening; }
    void read(const DeviceAddress &module);
    // All 17 values, as the window shows them.
    void write(const DeviceAddress &module, const ParameterValues &values);
    void restoreDefaults(const DeviceAddress &module);
    void reset(const DeviceAddress &module);
    // Tells every module the tool is leaving; nothing is awaited.
    void sendExit();

    // Lists a module another engine on the same link found, from its
    // discovery reply, so this engine can work on it without a scan of its
    // own; false when the reply names no module or the list is full.
    bool adoptModule(const QByteArray &discoveryReply);

signals:
    void scanRoundSent(int round, const QStringList &entry);
    void moduleListed(int row, const kelvane::DeviceAddress &module);
    void moduleRemoved(int row, const kelvane::DeviceAddress &module);
    // A read, write or defaults begins an attempt (0 for the first).
    void attemptStarted(kelvane::Operation operation, const kelvane::DeviceAddress &module, int attempt,
                        const QStringList &entry);
    // One answer of a read, decoded; `done` of 17 answered so far.
    void answered(const kelvane::DeviceAddress &module, const kelvane::Parameter &parameter,
                  const kelvane::Answer &answer, int done);
    // One write acknowledged; `done` of 17 so far.
    void acknowledged(const kelvane::DeviceAddress &module, int done);
    // A frame went out on no card; the entry says why.
    void sendFailed(const QString &entry);
    // An operation ended: exactly once for each one started.
    void finished(const kelvane::Outcome &outcome);
    // Every datagram the engine was handed, and what it made of it.
    void datagramHandled(const QByteArray &datagram, const QString &meaning);

private:
    // Takes over from a running operation; false, with the outcome told, when
    // the module is not listed.
    bool begin(Operation operation, const std::optional<DeviceAddress> &module);
    void handle(const QByteArray &datagram);

    void onScanRound(int round, const QStringList &entry) override;
    void onListed(int row) override;
    void onRemoved(int row, const DeviceAddress &module) override;
    void onAttempt(Operation operation, int attempt, const QStringList &entry) override;
    void onAnswer(const Parameter &parameter, const Answer &answer, int done) override;
    void onAck(int done) override;
    void onSendFailed(const QString &entry) override;
    void onEnded(Operation operation, OutcomeKind kind, const QStringList &entry) override;

    DeviceTable m_table;
    Machine m_machine;
    // What the running read has taken so far, and what it could not take.
    ParameterValues m_values;
    QList<const Parameter *> m_unreadable;
    QMetaObject::Connection m_inbox;
    std::optional<DeviceAddress> m_inboxModule;
    bool m_hearsDiscovery = true;
    ScanGoal m_goal;
    int m_scanRounds = 0;
    bool m_stoppedEarly = false;
    bool m_listening = true;
};

}  // namespace kelvane
