// SPDX-License-Identifier: Apache-2.0
// The modules' side of the protocol: one request in, the answers out. Pure:
// no socket and no clock of its own, so tests drive it byte by byte.
#pragma once

#include "ModuleModel.h"

#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QSet>

namespace kelvane::sim {

// Ways a module misbehaves, so that the tool's failure paths can be tried.
struct Faults {
    bool silentQueries = false;  // queries go unanswered
    bool noWriteAcks = false;    // writes are stored but never acknowledged
    QByteArray rejectCode;       // this code's query answers a digit the tool refuses
    QByteArray refuseWriteCode;  // this code's write is answered "ER" and not stored
    // These codes' writes are acknowledged but not stored: a read-back shows
    // the old value, as after a write the module lost.
    QSet<QByteArray> forgetWriteCodes;
    QSet<int> silentModules;     // module indexes, from 0, that answer nothing at all
};

class Responder {
public:
    // Modules firstIndex to firstIndex + moduleCount - 1 of the simulated network;
    // factoryIps by index from 0 among them replace their factory ip_address.
    explicit Responder(int moduleCount, Faults faults = {}, int restartMs = 1000, int firstIndex = 0,
                       const QHash<int, Value> &factoryIps = {});

    // The answers to one datagram arriving at nowMs, a monotonic clock in ms.
    QByteArrayList respond(const QByteArray &request, qint64 nowMs);

    int moduleCount() const { return int(m_modules.size()); }
    const ModuleModel &module(int index) const { return m_modules.at(index); }
    bool isRestarting(int index, qint64 nowMs) const { return nowMs < m_silentUntil.at(index); }
    // Neither made silent by a fault nor restarting.
    bool isAnswering(int index, qint64 nowMs) const;
    // The module a datagram to or from it starts with the address of; -1 for none.
    int moduleOf(const QByteArray &datagram) const;

private:
    QByteArrayList discover(qint64 nowMs) const;
    QByteArrayList command(ModuleModel &module, const QByteArray &command);
    QByteArrayList query(const ModuleModel &module, const QByteArray &code) const;
    QByteArrayList write(ModuleModel &module, const QByteArray &code, const QByteArray &value);

    QList<ModuleModel> m_modules;
    QList<qint64> m_silentUntil;
    QHash<QByteArray, int> m_byAddress;
    Faults m_faults;
    int m_restartMs;
};

}  // namespace kelvane::sim
