// SPDX-License-Identifier: Apache-2.0
// `kelvane apply PROFILE MODULE... --verify --always` to 254 virtual modules on
// links that lose, repeat or delay answers, and on a host with two cards on one
// LAN: how many modules it verified, how many it reported failed, and how many
// hold a value other than the one it reported (verified but not holding the
// profile, or read back otherwise as holding a value they do not hold). What
// they hold comes from the simulator itself (SIGUSR1), not from anything the
// tool read.
// The two-card row needs scripts/peer-host --bridged: two cards of this host,
// 192.0.2.1 and 192.0.2.3, bridged to the peer at 192.0.2.2.
#include "Harness.h"

#include "protocol/ParameterNames.h"
#include "protocol/ParameterValue.h"
#include "replies/Answer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>

namespace kelvane::bench {

namespace {
constexpr int Modules = DeviceTableCapacity;

// A module's value as the tool shows it, from the answer the simulator says it holds ("UB=09").
QString shownValue(const Parameter &parameter, const QString &field)
{
    const QByteArray reply = QByteArray(DeviceAddressSize, '\0') + field.section('=', 1).toLatin1() + "\r\n";
    const Answer answer = decodeAnswer(parameter, reply);
    if (const auto *index = std::get_if<answer::Index>(&answer))
        return parameter.items.value(index->index);
    if (const auto *text = std::get_if<answer::Text>(&answer))
        return text->text;
    if (const auto *mode = std::get_if<answer::StartMode>(&answer))
        return startModeNames().value(mode->digit);
    return {};
}

struct Case {
    const char *name;
    QStringList peerOptions;  // scripts/peer-host's
    QStringList conditions;   // kelvane-sim's
    bool allVerified;         // the target: every module verified, not only no value misreported
};
}  // namespace

void reliability()
{
    const QTemporaryDir dir;
    const QString profile = dir.filePath("profile.json");
    // The profile comes from a module outside the 254, so that every one of
    // them must change; without ip_address, each keeps its own.
    QStringList target;
    {
        Simulator source({"--first", "1001", "--modules", "1"});
        const QString module = listedModules(1).first();
        saveProfileWithoutAddress(module, profile);
        target = source.held().at(module);
    }
    const std::map<QString, QStringList> factory = Simulator({"--modules", QString::number(Modules)}).held();
    QStringList modules;
    for (const auto &[address, fields] : factory)
        modules << address;
    if (modules.size() != Modules)
        fail(QStringLiteral("kelvane-sim --modules %1 holds %2 modules").arg(Modules).arg(modules.size()));
    // A parameter's place among the fields, by its code; -1 for none.
    const auto fieldOf = [&target](const QString &code) {
        const auto field = std::ranges::find_if(target, [&](const QString &f) { return f.startsWith(code + '='); });
        return field == target.end() ? qsizetype(-1) : field - target.begin();
    };
    const qsizetype ipField = fieldOf("IP");
    if (ipField < 0)
        fail("the simulator's state holds no IP field");

    const QString lan1 = "--lan", one = "1";
    const Case cases[] = {
        {"no answer lost", {lan1, one}, {}, true},
        {"1 % of answers lost", {lan1, one}, {"--drop", "0.01"}, true},
        {"10 % of answers lost", {lan1, one}, {"--drop", "0.1"}, true},
        {"30 % of answers lost", {lan1, one}, {"--drop", "0.3"}, false},
        {"every answer twice", {lan1, one}, {"--duplicate"}, true},
        {"5 % of answers late", {lan1, one}, {"--late", "0.05"}, true},
        {"two cards on one LAN, each answer on both", {"--bridged"}, {}, true},
    };
    QFile peerHost(KELVANE_PEER_HOST);
    const bool bridged = peerHost.open(QIODevice::ReadOnly) && peerHost.readAll().contains("--bridged");
    for (const Case &c : cases) {
        const QString figure = QStringLiteral("reliability: %1 modules, %2").arg(Modules).arg(c.name);
        const QString goal = c.allVerified ? QStringLiteral("%1 verified, 0 wrong").arg(Modules)
                                           : QStringLiteral("failures reported, 0 wrong");
        if (c.peerOptions.contains("--bridged") && !bridged) {
            row(figure, "not measured: scripts/peer-host has no --bridged", goal);
            continue;
        }
        Simulator sim(c.peerOptions, QStringList{"--modules", QString::number(Modules)} + c.conditions);
        const Exit apply = run(KELVANE_CLI, QStringList{"apply", profile} + modules +
                                                QStringList{"--verify", "--always", "--parallel",
                                                            QString::number(Modules), "--json"});
        const std::map<QString, QStringList> held = sim.held();

        int verified = 0, failed = 0, wrong = 0;
        const QJsonArray results = QJsonDocument::fromJson(apply.output).object().value("modules").toArray();
        for (const QJsonValue &result : results) {
            const QString address = result["address"].toString();
            const QString said = result["result"].toString();
            verified += said == "verified";
            failed += said != "verified";
            QStringList expected = target;
            expected[ipField] = factory.at(address).at(ipField);
            const QStringList holds = held.count(address) ? held.at(address) : QStringList();
            // What a result says of the values: verified, that the module holds the profile and
            // its own address; read back otherwise, that it does not hold the values named.
            QStringList misreported;
            if (said == "verified") {
                for (qsizetype f = 0; f < expected.size(); ++f) {
                    if (holds.value(f) != expected[f])
                        misreported << "holds " + holds.value(f, "nothing") + " for " + expected[f];
                }
            } else if (said == "differs") {
                const QJsonObject differences = result["differences"].toObject();
                for (auto d = differences.begin(); d != differences.end(); ++d) {
                    const Parameter *parameter = parameterByKey(d.key());
                    const qsizetype f = parameter ? fieldOf(parameter->code) : -1;
                    const QString reported = d.value().toObject().value("module").toString();
                    if (f < 0 || !sameValue(*parameter, reported, shownValue(*parameter, holds.value(f))))
                        misreported << d.key() + " said to be " + reported + ", holds " + holds.value(f, "nothing");
                }
            }
            if (misreported.isEmpty())
                continue;
            // Which values, for whoever looks into it.
            if (++wrong <= 3)
                std::fprintf(stderr, "reliability: %s: %s reported %s: %s\n", c.name, qPrintable(address),
                             qPrintable(said), qPrintable(misreported.join(", ")));
        }
        // A module apply says nothing about is a failure unreported; so is exit 0 with failures.
        const bool honest = results.size() == Modules && apply.status == (failed > 0 ? 1 : 0);
        const bool met = honest && wrong == 0 && (!c.allVerified || verified == Modules);
        row(figure,
            QStringLiteral("%1 verified, %2 failed, %3 wrong; %4 s%5")
                .arg(verified).arg(failed).arg(wrong)
                .arg(fixed(apply.ms / 1000, 2))
                .arg(honest ? QString() : QStringLiteral(" (exit %1, %2 results)").arg(apply.status).arg(results.size())),
            goal, met);
    }
}

}  // namespace kelvane::bench
