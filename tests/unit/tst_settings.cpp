// SPDX-License-Identifier: Apache-2.0
// Values that are each well formed but do not work together: the rules on a
// set about to be sent, on addresses an apply hands out, and on a scan's modules.
#include "profiles/SettingsCheck.h"
#include "protocol/ParameterNames.h"
#include "support/Profiles.h"

#include <QTest>

using namespace kelvane;
using kelvane::test::valuesOf;

namespace {
// A module in direct start mode at 192.168.1.10/24, as a read shows it.
const QStringList Module = {"gateway=192.168.1.1", "subnet_mask=255.255.255.0", "ip_address=192.168.1.10",
                            "port=502", "destination_ip=10.0.0.1", "destination_port=1024", "start_mode=direct"};

QString severityName(Finding::Severity severity)
{
    return severity == Finding::Severity::Refused ? QStringLiteral("refused") : QStringLiteral("warned");
}

// "024B56000001 192.0.2.10 eth0 192.0.2.1/24": a module, an address, its card.
CardSubnet cardOf(const QStringList &fields)
{
    const QStringList card = fields.value(3).split('/');
    return {fields.value(2), card.value(0), card.size() > 1 ? card.value(1).toInt() : -1};
}
}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    // Each finding as "severity key rule"; no line means the set may be sent as it is.
    void settings_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("findings");
        const auto row = [](const char *name, const QStringList &values, const QStringList &findings) {
            QTest::newRow(name) << values << findings;
        };
        const auto module = [](const QStringList &changes) { return Module + changes; };
        const QStringList fine;
        const QString noGateway = "gateway=0.0.0.0";
        row("the module as read", Module, fine);
        row("padded forms", {"gateway=192.168.001.001", "subnet_mask=255.255.255.000", "ip_address=192.168.001.010",
                             "port=00502", "destination_ip=010.000.000.001", "start_mode=direct"}, fine);
        row("nothing to check", {}, fine);

        row("mask with a gap", module({"subnet_mask=255.0.255.0"}), {"refused subnet_mask mask-not-contiguous"});
        row("mask with a stray last bit", module({"subnet_mask=255.255.255.1"}),
            {"refused subnet_mask mask-not-contiguous"});
        row("mask /0", module({"subnet_mask=0.0.0.0"}), {"refused subnet_mask mask-zero"});
        row("mask /0 in dhcp mode still refused", module({"subnet_mask=000.000.000.000", "start_mode=dhcp"}),
            {"refused subnet_mask mask-zero"});
        row("mask /1", module({"subnet_mask=128.0.0.0"}), fine);

        row("network address of a /24", module({"ip_address=192.168.1.0"}), {"refused ip_address ip-network-address"});
        row("broadcast address of a /24, padded", module({"ip_address=192.168.001.255"}),
            {"refused ip_address ip-broadcast-address"});
        row("first and last host of a /24", module({"ip_address=192.168.1.1", "gateway=192.168.1.254"}), fine);
        row("network address of a /30", module({"subnet_mask=255.255.255.252", "ip_address=192.168.1.8"}),
            {"refused ip_address ip-network-address", "warned gateway gateway-outside-subnet"});
        row("broadcast address of a /30",
            module({"subnet_mask=255.255.255.252", "ip_address=192.168.1.3", "gateway=192.168.1.1"}),
            {"refused ip_address ip-broadcast-address"});
        row("both addresses of a /31 are hosts",
            module({"subnet_mask=255.255.255.254", "ip_address=192.168.1.1", "gateway=192.168.1.0"}), fine);
        row("a /32 has no network or broadcast address",
            module({"subnet_mask=255.255.255.255", "ip_address=192.168.1.0", noGateway}), fine);
        row("a /32 reaches no gateway", module({"subnet_mask=255.255.255.255"}),
            {"warned gateway gateway-outside-subnet"});
        row("the address of a bad mask's subnet unchecked", module({"subnet_mask=255.0.255.0", "ip_address=192.168.1.0"}),
            {"refused subnet_mask mask-not-contiguous"});

        row("0.0.0.0/8, and no broadcast rule on top", module({"ip_address=0.255.255.255", noGateway}),
            {"refused ip_address ip-reserved"});
        row("1.0.0.10 past 0.0.0.0/8", module({"ip_address=1.0.0.10", noGateway}), fine);
        row("loopback", module({"ip_address=127.0.0.1", noGateway}), {"refused ip_address ip-reserved"});
        row("223.255.255.10 below multicast", module({"ip_address=223.255.255.10", noGateway}), fine);
        row("first multicast address", module({"ip_address=224.0.0.0", noGateway}), {"refused ip_address ip-reserved"});
        row("last multicast address", module({"ip_address=239.255.255.255", noGateway}),
            {"refused ip_address ip-reserved"});
        row("limited broadcast", module({"ip_address=255.255.255.255", noGateway}), {"refused ip_address ip-reserved"});
        row("dhcp: a reserved address only warned", module({"ip_address=127.0.0.1", noGateway, "start_mode=DHCP"}),
            {"warned ip_address ip-reserved"});
        row("pppoe: a broadcast address only warned", module({"ip_address=192.168.1.255", "start_mode=pppoe"}),
            {"warned ip_address ip-broadcast-address"});
        row("no start mode: only warned", {"ip_address=224.0.0.1"}, {"warned ip_address ip-reserved"});

        row("port 0", module({"port=0"}), {"refused port port-zero"});
        row("port 00000", module({"port=00000"}), {"refused port port-zero"});
        row("port 1", module({"port=1"}), fine);
        row("port 0 alone", {"port=0"}, {"refused port port-zero"});
        row("destination port 0 is the peer's", module({"destination_port=0"}), fine);

        row("gateway in another subnet", module({"gateway=192.168.2.1"}), {"warned gateway gateway-outside-subnet"});
        row("gateway 0.0.0.0 padded: none", module({"gateway=000.000.000.000"}), fine);
        row("gateway without the module's address", {"gateway=10.0.0.1", "subnet_mask=255.255.255.0"}, fine);
        row("destination is the module itself, padded", module({"destination_ip=192.168.001.010"}),
            {"warned destination_ip destination-is-self"});
        row("destination in the module's subnet", module({"destination_ip=192.168.1.11"}), fine);
    }

    void settings()
    {
        QFETCH(QStringList, values);
        const ParameterValues set = valuesOf(values);
        QStringList findings;
        for (const Finding &finding : checkSettings(set)) {
            const QString key = parameterKey(*finding.parameter);
            findings << severityName(finding.severity) + ' ' + key + ' ' + finding.rule;
            QCOMPARE(finding.value, set.value(*finding.parameter));
            QVERIFY2(finding.message.startsWith(key + ": " + finding.value + ' '), qPrintable(finding.message));
            QVERIFY(finding.module.isEmpty());
        }
        QTEST(findings, "findings");
    }

    // What each rule says, once: the subnet and the range it names.
    void settingsMessages_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("message");
        QTest::newRow("broadcast")
            << (Module + QStringList{"ip_address=192.168.001.255"})
            << "ip_address: 192.168.001.255 is the broadcast address of its subnet 192.168.1.0/24, not an address "
               "a module can take";
        QTest::newRow("multicast, dhcp")
            << QStringList{"ip_address=224.0.0.9", "start_mode=dhcp"}
            << "ip_address: 224.0.0.9 lies in 224.0.0.0/4, kept for multicast; no module can take it as its own "
               "address; in dhcp start mode the module is given its address, so this matters once it starts direct";
        QTest::newRow("gateway")
            << (Module + QStringList{"gateway=192.168.2.1", "subnet_mask=255.255.254.0"})
            << "gateway: 192.168.2.1 lies outside the module's subnet 192.168.0.0/23, so the module cannot reach it";
    }

    void settingsMessages()
    {
        QFETCH(QStringList, values);
        const QList<Finding> findings = checkSettings(valuesOf(values));
        QCOMPARE(findings.size(), 1);
        QTEST(findings.first().message, "message");
    }

    // Lines "severity module rule"; the first finding's message holds `excerpt`.
    void assigned_data()
    {
        QTest::addColumn<QStringList>("assignments");  // "module ip card address/prefix"
        QTest::addColumn<QStringList>("answered");     // by modules outside the apply
        QTest::addColumn<QStringList>("cards");
        QTest::addColumn<QStringList>("findings");
        QTest::addColumn<QString>("excerpt");
        const QStringList cards = {"192.0.2.1", "198.51.100.1"};
        const QStringList others = {"192.0.2.50"};
        const auto row = [&](const char *name, const QStringList &assignments, const QStringList &findings,
                             const QString &excerpt = {}) {
            QTest::newRow(name) << assignments << others << cards << findings << excerpt;
        };
        row("distinct addresses in the card's subnet",
            {"024B56000001 192.0.2.10 eth0 192.0.2.1/24", "024B56000002 192.000.002.011 eth0 192.0.2.1/24"}, {});
        row("another module's address, padded", {"024B56000001 192.000.002.050 eth0 192.0.2.1/24"},
            {"refused 024B56000001 ip-used-by-module"},
            "ip_address: 192.000.002.050 for module 024B56000001 is the address another module answered from");
        row("a card's address", {"024B56000001 198.51.100.1 eth1 198.51.100.1/24"},
            {"refused 024B56000001 ip-used-by-card"}, "is an address of a network card of this PC");
        row("one address for two modules, one padded",
            {"024B56000001 192.0.2.10 eth0 192.0.2.1/24", "024B56000002 192.0.2.11 eth0 192.0.2.1/24",
             "024B56000003 192.0.2.010 eth0 192.0.2.1/24"},
            {"refused 024B56000001 ip-assigned-twice", "refused 024B56000003 ip-assigned-twice"},
            "ip_address: 192.0.2.10 for module 024B56000001 is handed to 024B56000003 as well");
        row("outside the card's subnet", {"024B56000001 198.51.100.7 eth0 192.0.2.1/24"},
            {"warned 024B56000001 ip-outside-card-subnet"},
            "ip_address: 198.51.100.7 for module 024B56000001 lies outside 192.0.2.0/24, the subnet of card eth0 "
            "(192.0.2.1/24) it was heard on; data connections from this PC will not reach it");
        row("last address of a /25", {"024B56000001 192.0.2.127 eth0 192.0.2.1/25"}, {});
        row("first address past a /25", {"024B56000001 192.0.2.128 eth0 192.0.2.1/25"},
            {"warned 024B56000001 ip-outside-card-subnet"});
        row("a /0 card holds every address", {"024B56000001 203.0.113.9 eth0 192.0.2.1/0"}, {});
        row("card prefix unknown", {"024B56000001 203.0.113.9 eth0 192.0.2.1"}, {});
        row("everything at once", {"024B56000001 198.51.100.1 eth0 192.0.2.1/24"},
            {"refused 024B56000001 ip-used-by-card", "warned 024B56000001 ip-outside-card-subnet"});
    }

    void assigned()
    {
        QFETCH(QStringList, assignments);
        QFETCH(QStringList, answered);
        QFETCH(QStringList, cards);
        QFETCH(QString, excerpt);
        QList<AddressAssignment> list;
        for (const QString &line : assignments) {
            const QStringList fields = line.split(' ');
            list.append({fields.value(0), fields.value(1), cardOf(fields)});
        }
        QStringList findings;
        const QList<Finding> found = checkAssignedAddresses(list, answered, cards);
        for (const Finding &finding : found) {
            findings << severityName(finding.severity) + ' ' + finding.module + ' ' + finding.rule;
            QCOMPARE(parameterKey(*finding.parameter), QString("ip_address"));
            QVERIFY2(finding.message.startsWith("ip_address: " + finding.value + " for module " + finding.module),
                     qPrintable(finding.message));
        }
        QTEST(findings, "findings");
        if (!excerpt.isEmpty())
            QVERIFY2(found.first().message.contains(excerpt), qPrintable(found.first().message));
    }

    // Lines "module code" for every warning, in the modules' order; the texts hold the excerpts.
    void heard_data()
    {
        QTest::addColumn<QStringList>("modules");  // "module answered-from card address/prefix"
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QStringList>("excerpts");
        const QString eth0 = " eth0 192.0.2.1/24";
        QTest::newRow("one subnet, distinct addresses")
            << QStringList{"024B56000001 192.0.2.10" + eth0, "024B56000002 192.0.2.11" + eth0} << QStringList{}
            << QStringList{};
        QTest::newRow("three from one address, each naming the other two")
            << QStringList{"024B56000001 192.0.2.10" + eth0, "024B56000002 192.0.2.11" + eth0,
                           "024B56000003 ::ffff:192.0.2.10" + eth0, "024B56000004 192.0.2.10" + eth0}
            << QStringList{"024B56000001 duplicate-ip", "024B56000003 duplicate-ip", "024B56000004 duplicate-ip"}
            << QStringList{"Module 024B56000001 answered from 192.0.2.10, and so did 024B56000003, 024B56000004",
                           "and so did 024B56000001, 024B56000004", "and so did 024B56000001, 024B56000003"};
        QTest::newRow("another subnet than the card's")
            << QStringList{"024B56000001 192.168.1.10 kvh7 192.0.2.1/24", "024B56000002 192.0.2.255" + eth0}
            << QStringList{"024B56000001 other-subnet"}
            << QStringList{"Module 024B56000001 answered from 192.168.1.10, outside the subnet of card kvh7 "
                           "(192.0.2.1/24): it was found and can be configured by broadcast, but data connections "
                           "from this PC will not reach it; giving it an address in the card's subnet fixes that"};
        QTest::newRow("one address on two cards: both warnings")
            << QStringList{"024B56000001 198.51.100.7" + eth0, "024B56000002 198.51.100.7 eth1 198.51.100.1/24"}
            << QStringList{"024B56000001 duplicate-ip", "024B56000001 other-subnet", "024B56000002 duplicate-ip"}
            << QStringList{"and so did 024B56000002", "card eth0 (192.0.2.1/24)", "and so did 024B56000001"};
        QTest::newRow("card prefix unknown")
            << QStringList{"024B56000001 203.0.113.9 eth0 192.0.2.1"} << QStringList{} << QStringList{};
    }

    void heard()
    {
        QFETCH(QStringList, modules);
        QFETCH(QStringList, excerpts);
        QList<HeardModule> list;
        for (const QString &line : modules) {
            const QStringList fields = line.split(' ');
            list.append({fields.value(0), fields.value(1), cardOf(fields)});
        }
        const QList<QList<ModuleWarning>> found = moduleWarnings(list);
        QCOMPARE(found.size(), list.size());
        QStringList warnings;
        for (int i = 0; i < found.size(); ++i) {
            for (const ModuleWarning &warning : found[i]) {
                warnings << list[i].module + ' ' + warning.code;
                const QString excerpt = excerpts.value(int(warnings.size()) - 1);
                QVERIFY2(warning.text.contains(excerpt), qPrintable(warning.text));
            }
        }
        QTEST(warnings, "warnings");
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_settings.moc"
