// SPDX-License-Identifier: Apache-2.0
#include "SettingsCheck.h"

#include "protocol/ParameterNames.h"

#include <QCoreApplication>
#include <QHash>
#include <QHostAddress>
#include <QSet>

#include <algorithm>
#include <bit>
#include <optional>

namespace kelvane {

namespace {
// Messages for people, translated in the context "kelvane::SettingsCheck".
struct Text {
    Q_DECLARE_TR_FUNCTIONS(kelvane::SettingsCheck)
};

using Severity = Finding::Severity;

constexpr int AddressBits = 32;
// Up to /30 a subnet has a network and a broadcast address; /31 and /32 have neither.
constexpr int LongestPrefixWithBroadcast = 30;

// Blocks no module can take as its own address, whatever its subnet.
struct Reserved {
    quint32 network;
    int prefixLength;
    const char *use;
};
constexpr Reserved ReservedBlocks[] = {
    {0x00000000, 8, QT_TRANSLATE_NOOP("kelvane::SettingsCheck", "this network")},
    {0x7F000000, 8, QT_TRANSLATE_NOOP("kelvane::SettingsCheck", "loopback")},
    {0xE0000000, 4, QT_TRANSLATE_NOOP("kelvane::SettingsCheck", "multicast")},
    {0xFFFFFFFF, 32, QT_TRANSLATE_NOOP("kelvane::SettingsCheck", "broadcast")},
};

// A dotted address, groups zero-padded or not, or the IPv4 address a socket
// reports as "::ffff:a.b.c.d".
std::optional<quint32> ipv4(const QString &text)
{
    if (text.contains(u':')) {
        bool ok = false;
        const quint32 address = QHostAddress(text).toIPv4Address(&ok);
        return ok ? std::optional<quint32>(address) : std::nullopt;
    }
    const QStringList groups = text.split(u'.');
    if (groups.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (const QString &group : groups) {
        const bool digits = !group.isEmpty() && group.size() <= 3
                            && std::all_of(group.begin(), group.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!digits || group.toUInt() > 255)
            return std::nullopt;
        address = address << 8 | group.toUInt();
    }
    return address;
}

quint32 maskOf(int prefixLength)
{
    return prefixLength == 0 ? 0u : ~quint32(0) << (AddressBits - prefixLength);
}

// The prefix length of a mask whose one bits run unbroken from the left.
std::optional<int> prefixOf(quint32 mask)
{
    const quint32 hosts = ~mask;
    if ((hosts & (hosts + 1)) != 0)
        return std::nullopt;
    return std::popcount(mask);
}

QString dotted(quint32 address)
{
    return QHostAddress(address).toString();
}

// "192.168.1.0/24"
QString subnetText(quint32 address, int prefixLength)
{
    return dotted(address & maskOf(prefixLength)) + u'/' + QString::number(prefixLength);
}

bool inSubnet(quint32 address, quint32 other, int prefixLength)
{
    const quint32 mask = maskOf(prefixLength);
    return (address & mask) == (other & mask);
}

bool knownPrefix(int prefixLength)
{
    return prefixLength >= 0 && prefixLength <= AddressBits;
}

const Parameter &row(QStringView key)
{
    return *parameterByKey(key);
}

class SettingsRules {
public:
    explicit SettingsRules(const ParameterValues &values) : m_values(values) {}

    QList<Finding> check()
    {
        checkMask();
        checkAddress();
        checkGateway();
        checkDestination();
        checkPort();
        return m_findings;
    }

private:
    std::optional<quint32> address(const Parameter &parameter) const
    {
        if (!m_values.contains(parameter))
            return std::nullopt;
        return ipv4(m_values.value(parameter));
    }

    void add(Severity severity, const Parameter &parameter, const char *rule, const QString &message)
    {
        m_findings.append({severity, &parameter, m_values.value(parameter), QString::fromLatin1(rule), message,
                           QString()});
    }

    // "%1" the key, "%2" the value, as every message starts.
    QString named(const QString &message, const Parameter &parameter) const
    {
        return message.arg(parameterKey(parameter), m_values.value(parameter));
    }

    void checkMask()
    {
        const Parameter &mask = row(u"subnet_mask");
        const std::optional<quint32> bits = address(mask);
        if (!bits)
            return;
        if (*bits == 0) {
            add(Severity::Refused, mask, "mask-zero",
                named(Text::tr("%1: %2 makes every address the module's neighbour; a mask sets at least its "
                               "first bit, as 255.255.255.0 does"), mask));
            return;
        }
        m_prefix = prefixOf(*bits);
        if (!m_prefix) {
            add(Severity::Refused, mask, "mask-not-contiguous",
                named(Text::tr("%1: %2 is not a subnet mask; its one bits must run unbroken from the left, "
                               "as in 255.255.255.0"), mask));
        }
    }

    // The module starts on its own address only in direct start mode.
    void addAddressFinding(const Parameter &ip, const char *rule, const QString &message)
    {
        const Parameter &start = row(u"start_mode");
        const QString mode = m_values.value(start);
        if (mode == QLatin1String("direct")) {
            add(Severity::Refused, ip, rule, message);
            return;
        }
        const QString why = mode.isEmpty()
                                ? Text::tr("; whether the module starts on it depends on its start mode")
                                : Text::tr("; in %1 start mode the module is given its address, so this "
                                           "matters once it starts direct").arg(mode);
        add(Severity::Warned, ip, rule, message + why);
    }

    void checkAddress()
    {
        const Parameter &ip = row(u"ip_address");
        const std::optional<quint32> own = address(ip);
        if (!own)
            return;
        for (const Reserved &block : ReservedBlocks) {
            if (inSubnet(*own, block.network, block.prefixLength)) {
                addAddressFinding(ip, "ip-reserved",
                                  named(Text::tr("%1: %2 lies in %3, kept for %4; no module can take it as "
                                                 "its own address"), ip)
                                      .arg(subnetText(block.network, block.prefixLength), Text::tr(block.use)));
                return;
            }
        }
        if (!m_prefix || *m_prefix > LongestPrefixWithBroadcast)
            return;
        const quint32 host = *own & ~maskOf(*m_prefix);
        const QString subnet = subnetText(*own, *m_prefix);
        if (host == 0) {
            addAddressFinding(ip, "ip-network-address",
                              named(Text::tr("%1: %2 is the network address of its subnet %3, not an address "
                                             "a module can take"), ip).arg(subnet));
        } else if (host == ~maskOf(*m_prefix)) {
            addAddressFinding(ip, "ip-broadcast-address",
                              named(Text::tr("%1: %2 is the broadcast address of its subnet %3, not an address "
                                             "a module can take"), ip).arg(subnet));
        }
    }

    void checkGateway()
    {
        const Parameter &gateway = row(u"gateway");
        const std::optional<quint32> via = address(gateway);
        const std::optional<quint32> own = address(row(u"ip_address"));
        // 0.0.0.0 is no gateway at all.
        if (!via || *via == 0 || !own || !m_prefix || inSubnet(*via, *own, *m_prefix))
            return;
        add(Severity::Warned, gateway, "gateway-outside-subnet",
            named(Text::tr("%1: %2 lies outside the module's subnet %3, so the module cannot reach it"), gateway)
                .arg(subnetText(*own, *m_prefix)));
    }

    void checkDestination()
    {
        const Parameter &destination = row(u"destination_ip");
        const std::optional<quint32> to = address(destination);
        const std::optional<quint32> own = address(row(u"ip_address"));
        if (!to || !own || *to != *own)
            return;
        add(Severity::Warned, destination, "destination-is-self",
            named(Text::tr("%1: %2 is the module's own ip_address; what it sends would come back to it"),
                  destination));
    }

    void checkPort()
    {
        const Parameter &port = row(u"port");
        if (!m_values.contains(port) || m_values.value(port).toInt() != 0)
            return;
        add(Severity::Refused, port, "port-zero",
            named(Text::tr("%1: %2 is no port a module can listen on; allowed: 1 to 65535"), port));
    }

    const ParameterValues &m_values;
    std::optional<int> m_prefix;  // of a usable subnet mask
    QList<Finding> m_findings;
};
}  // namespace

QList<Finding> checkSettings(const ParameterValues &values)
{
    return SettingsRules(values).check();
}

QList<Finding> checkAssignedAddresses(const QList<AddressAssignment> &assignments,
                                      const QStringList &otherModuleIps, const QStringList &cardAddresses)
{
    const auto addresses = [](const QStringList &texts) {
        QSet<quint32> set;
        for (const QString &text : texts) {
            if (const std::optional<quint32> address = ipv4(text))
                set.insert(*address);
        }
        return set;
    };
    const QSet<quint32> answered = addresses(otherModuleIps);
    const QSet<quint32> cards = addresses(cardAddresses);
    QHash<quint32, QStringList> modulesOf;
    for (const AddressAssignment &assignment : assignments) {
        if (const std::optional<quint32> ip = ipv4(assignment.ip))
            modulesOf[*ip].append(assignment.module);
    }

    const Parameter &ipRow = row(u"ip_address");
    const QString key = parameterKey(ipRow);
    QList<Finding> findings;
    for (const AddressAssignment &assignment : assignments) {
        const std::optional<quint32> ip = ipv4(assignment.ip);
        if (!ip)
            continue;
        // Every message starts with the key, the address and the module.
        const auto add = [&](Severity severity, const char *rule, const QString &message) {
            findings.append(
                {severity, &ipRow, assignment.ip, QString::fromLatin1(rule), message, assignment.module});
        };
        const auto named = [&](const QString &message) {
            return message.arg(key, assignment.ip, assignment.module);
        };
        if (answered.contains(*ip))
            add(Severity::Refused, "ip-used-by-module",
                named(Text::tr("%1: %2 for module %3 is the address another module answered from")));
        if (cards.contains(*ip))
            add(Severity::Refused, "ip-used-by-card",
                named(Text::tr("%1: %2 for module %3 is an address of a network card of this PC")));
        QStringList others = modulesOf.value(*ip);
        others.removeAll(assignment.module);
        if (!others.isEmpty())
            add(Severity::Refused, "ip-assigned-twice",
                named(Text::tr("%1: %2 for module %3 is handed to %4 as well"))
                    .arg(others.join(QStringLiteral(", "))));
        const CardSubnet &card = assignment.card;
        const std::optional<quint32> cardIp = ipv4(card.address);
        if (cardIp && knownPrefix(card.prefixLength) && !inSubnet(*ip, *cardIp, card.prefixLength)) {
            add(Severity::Warned, "ip-outside-card-subnet",
                named(Text::tr("%1: %2 for module %3 lies outside %4, the subnet of card %5 (%6/%7) it was "
                               "heard on; data connections from this PC will not reach it"))
                    .arg(subnetText(*cardIp, card.prefixLength), card.name, card.address)
                    .arg(card.prefixLength));
        }
    }
    return findings;
}

QList<QList<ModuleWarning>> moduleWarnings(const QList<HeardModule> &modules)
{
    QHash<quint32, QStringList> modulesAt;
    for (const HeardModule &heard : modules) {
        if (const std::optional<quint32> from = ipv4(heard.answeredFrom))
            modulesAt[*from].append(heard.module);
    }
    QList<QList<ModuleWarning>> warnings;
    for (const HeardModule &heard : modules) {
        QList<ModuleWarning> own;
        const std::optional<quint32> from = ipv4(heard.answeredFrom);
        if (!from) {
            warnings.append(own);
            continue;
        }
        QStringList others = modulesAt.value(*from);
        others.removeOne(heard.module);
        if (!others.isEmpty()) {
            own.append({QStringLiteral("duplicate-ip"),
                        Text::tr("Module %1 answered from %2, and so did %3; of modules sharing an address, "
                                 "data connections reach one at most")
                            .arg(heard.module, dotted(*from), others.join(QStringLiteral(", ")))});
        }
        const CardSubnet &card = heard.card;
        const std::optional<quint32> cardIp = ipv4(card.address);
        if (cardIp && knownPrefix(card.prefixLength) && !inSubnet(*from, *cardIp, card.prefixLength)) {
            own.append({QStringLiteral("other-subnet"),
                        Text::tr("Module %1 answered from %2, outside the subnet of card %3 (%4/%5): it was "
                                 "found and can be configured by broadcast, but data connections from this "
                                 "PC will not reach it; giving it an address in the card's subnet fixes that")
                            .arg(heard.module, dotted(*from), card.name, card.address)
                            .arg(card.prefixLength)});
        }
        warnings.append(own);
    }
    return warnings;
}

}  // namespace kelvane
