// SPDX-License-Identifier: Apache-2.0
// Parameter names, values, profile files and fleet addresses: what the window's
// save and load and the command line read from people and files.
#include "support/HeadlessPanel.h"
#include "support/Profiles.h"
#include "profiles/Fleet.h"
#include "profiles/Profile.h"
#include "protocol/Catalogue.h"
#include "protocol/ParameterNames.h"
#include "protocol/ParameterValues.h"
#include "protocol/WriteSenders.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace kelvane;
using kelvane::test::valuesOf;
using C = Control;

namespace {
// A panel as start-up leaves it: every combo box holds its list.
void fillLists(HeadlessPanel &panel)
{
    for (const Parameter &parameter : catalogue()) {
        if (parameter.kind == ValueKind::Choice)
            panel.addItems(parameter.control, parameter.items);
    }
}

QByteArray profile(const QByteArray &parameters)
{
    return R"({"format": "kelvane-profile", "version": 1, "parameters": {)" + parameters + "}}";
}

QByteArray header(const QByteArray &format, const QByteArray &version)
{
    return "{\"format\": " + format + ", \"version\": " + version + ", \"parameters\": {}}";
}
}  // namespace

class ValuesTest : public QObject {
    Q_OBJECT

private slots:
    // An accepted NAME=VALUE: the value the panel shows and the bytes a write of it sends.
    void accepted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("Chinese item") << "parity=偶校验" << "偶校验" << QByteArray("2");
        QTest::newRow("English item") << "parity=None" << "无校验" << QByteArray("0");
        QTest::newRow("last index is 600bps, not 1200bps") << "baud_rate=9" << "600bps" << QByteArray("9");
        QTest::newRow("data bits index 0 is item 8") << "data_bits=0" << "8" << QByteArray("8");
        QTest::newRow("stop bits item 1 wins over index 1") << "stop_bits=1" << "1" << QByteArray("1");
        QTest::newRow("padded port as given") << "port=00080" << "00080" << QByteArray("00080");
        QTest::newRow("start mode mixed case") << "start_mode=PPPoE" << "pppoe" << QByteArray("1");
    }

    void accepted()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, wire);
        const auto parsed = parseAssignment(text);
        QVERIFY(parsed.ok());
        QTEST(parsed.value().value, "value");
        HeadlessPanel panel;
        fillLists(panel);
        panel.setChecked(C::DHCP, true);  // a start mode from before must not win
        QVERIFY(valuesOf({text}).applyTo(panel));
        const Parameter &parameter = *parsed.value().parameter;
        const QString shown = ParameterValues::fromPanel(panel).value().value(parameter);
        QCOMPARE(wireValue(parameter, shown), std::optional<QByteArray>(wire));
    }

    void refused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");    // the parameter the error names
        QTest::addColumn<QString>("error");  // a fragment of the message
        QTest::newRow("index past the list")
            << "baud_rate=10" << "baud_rate" << "baud_rate: index 10 is out of range; allowed: 1200bps,";
        QTest::newRow("index too large for any number")
            << "baud_rate=99999999999999999999" << "baud_rate" << "is out of range";
        QTest::newRow("item text is exact, items, names and indexes listed")
            << "parity=EVEN" << "parity"
            << "\"EVEN\" is not an item; allowed: 无校验, None, 奇校验, Odd, 偶校验, Even, or an index from 0 to 2";
        QTest::newRow("Chinese in an address")
            << "ip_address=192.0.2.中" << "ip_address" << "ip_address: character U+4E2D at position 9";
        QTest::newRow("start mode unknown")
            << "start_mode=static" << "start_mode" << "\"static\" is not a start mode; allowed: direct,";
        QTest::newRow("value runs past a second =") << "port=8=0" << "port" << "port: \"8=0\" is not a port";
        QTest::newRow("no =") << "baud_rate" << "" << "\"baud_rate\" is not NAME=VALUE";
        QTest::newRow("unknown name, the known listed in catalogue order")
            << "speed=9600" << "speed"
            << "unknown parameter \"speed\"; known: baud_rate, flow_control, data_bits, time_delimiter, parity,";
        QTest::newRow("name is exact") << "Baud_Rate=3" << "Baud_Rate" << "unknown parameter \"Baud_Rate\"";
    }

    void refused()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        const auto parsed = parseAssignment(text);
        QVERIFY(!parsed.ok());
        QTEST(parsed.error().parameter, "key");
        QVERIFY2(parsed.error().message.contains(error), qPrintable(parsed.error().message));
    }

    // Each text row's form, one row per boundary. The window's check of a control's
    // text says the same as the command line's of NAME=VALUE.
    void textForms_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");  // the whole message; empty when the text is taken
        const QString address = "\" is not an address; allowed: four groups of 1 to 3 digits separated by dots, "
                                "each from 0 to 255";
        const QString port = "\" is not a port; allowed: 1 to 5 digits, from 0 to 65535";
        const QString delimiter = "\" is not a delimiter; allowed: 1 to 4 digits";
        const auto row = [](const char *name, const char *key, const QString &text, const QString &rule) {
            QTest::newRow(name) << QString(key) << text
                                << (rule.isEmpty() ? QString() : QString(key) + ": \"" + text + rule);
        };
        row("groups 0 and 255", "ip_address", "0.255.0.255", "");
        row("groups padded to three digits", "destination_ip", "010.000.002.001", "");
        row("group 256", "subnet_mask", "255.255.256.0", address);
        row("three groups", "gateway", "192.0.2", address);
        row("five groups", "ip_address", "192.0.2.1.5", address);
        row("group of four digits", "ip_address", "0192.0.2.1", address);
        row("empty group", "ip_address", "192..2.1", address);
        row("signed group", "ip_address", "+1.0.2.1", address);
        row("port 0", "port", "0", "");
        row("port 65535 padded to five", "destination_port", "65535", "");
        row("port 65536", "port", "65536", port);
        row("port six digits, padded", "destination_port", "000080", port);
        row("port with a letter", "port", "80a", port);
        row("delimiter four digits", "time_delimiter", "9999", "");
        row("delimiter one digit", "byte_delimiter", "0", "");
        row("delimiter five digits", "byte_delimiter", "00010", delimiter);
        row("delimiter negative", "time_delimiter", "-1", delimiter);
    }

    void textForms()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, error);
        const Parameter &parameter = *parameterByKey(key);
        QCOMPARE(formError(parameter, text).value_or(QString()), error);
        const auto parsed = parseAssignment(key + '=' + text);
        QCOMPARE(parsed.ok(), error.isEmpty());
        if (parsed.ok()) {
            QCOMPARE(parsed.value().value, text);
        } else {
            QCOMPARE(parsed.error().parameter, key);
            QCOMPARE(parsed.error().message, error);
        }
    }

    // Padded addresses and ports are equal, what only the module holds is ignored, and
    // the differences come in catalogue order, whatever order they were given in.
    void compare()
    {
        const ParameterValues expected = valuesOf({"start_mode=dhcp", "baud_rate=9600bps", "gateway=19.20.2.10",
                                                   "ip_address=192.0.2.10", "port=80", "destination_port=1000"});
        const ParameterValues actual = valuesOf({"start_mode=direct", "ip_address=192.000.002.010", "port=00080",
                                                 "gateway=192.0.2.10", "destination_port=0100", "subnet_mask=255.0.0.0"});
        QStringList lines;
        for (const Difference &d : compareValues(expected, actual))
            lines.append(parameterKey(*d.parameter) + ": " + d.expected + " / " + d.actual.value_or("-"));
        QCOMPARE(lines, (QStringList{"baud_rate: 9600bps / -", "gateway: 19.20.2.10 / 192.0.2.10",
                                     "destination_port: 1000 / 0100", "start_mode: dhcp / direct"}));
    }

    // Values not given keep what the panel shows, and empty boxes are left out of what it holds;
    // the start mode given replaces the one checked.
    void applyLeavesOthersAlone()
    {
        HeadlessPanel panel;
        fillLists(panel);
        QVERIFY(valuesOf({"parity=偶校验", "port=08000", "start_mode=pppoe"}).applyTo(panel));
        QCOMPARE(ParameterValues::fromPanel(panel).value().size(), 3);
        QVERIFY(valuesOf({"baud_rate=2400bps", "port=502", "start_mode=direct"}).applyTo(panel));
        QVERIFY(ParameterValues::fromPanel(panel).value() ==
                valuesOf({"parity=偶校验", "baud_rate=1", "port=502", "start_mode=DIRECT"}));
        QCOMPARE(panel.isChecked(C::PPPOE), false);
        // A text with no single-byte code is named; a combo box never filled cannot take its item.
        panel.setText(C::D_IP, "198.51.100.中");
        QCOMPARE(ParameterValues::fromPanel(panel).error().parameter, QString("destination_ip"));
        panel.setText(C::D_IP, "198.51.100.256");
        QVERIFY(ParameterValues::fromPanel(panel).error().message.startsWith("destination_ip: \"198.51.100.256\""));
        HeadlessPanel empty;
        QVERIFY(!valuesOf({"parity=奇校验"}).applyTo(empty));
    }

    void badProfiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("parameter");  // empty when the file as a whole is wrong
        QTest::addColumn<QString>("message");    // after "site.json: "
        const QByteArray kp = "\"kelvane-profile\"";
        QTest::newRow("empty file") << QByteArray() << "" << "not JSON: ";
        QTest::newRow("list") << QByteArray("[]") << "" << "not a profile: expected a JSON object";
        QTest::newRow("other format")
            << header("\"other\"", "1") << "" << "format is \"other\", expected \"kelvane-profile\"";
        QTest::newRow("version \"%2\"") << header(kp, "\"%2\"") << "" << "version is \"%2\"; this program reads";
        QTest::newRow("version 1.5") << header(kp, "1.5") << "" << "version is 1.5";
        QTest::newRow("parameters missing")
            << QByteArray(R"({"format": "kelvane-profile", "version": 1})") << "" << "parameters is missing";
        QTest::newRow("unknown field")
            << QByteArray(R"({"comment": "", "format": "kelvane-profile", "version": 1, "parameters": {}})") << ""
            << "unknown field \"comment\"; a profile holds only format, version, parameters";
        QTest::newRow("number") << profile(R"("baud_rate": 3)") << "baud_rate" << "baud_rate: expected a text";
        QTest::newRow("parameter twice, once escaped") << profile(R"("baud_rate": "3", "baud\u005frate": "3")")
                                                       << "baud_rate" << "baud_rate: given more than once";
        QTest::newRow("field twice")
            << QByteArray(R"({"format": "x", "format": "y", "version": 1, "parameters": {}})") << ""
            << "\"format\" is given more than once";
        QTest::newRow("larger than 64 KiB") << profile("\"port\": \"" + QByteArray(MaxProfileBytes, '1') + "\"")
                                            << "" << "larger than 65536 bytes, not a profile";
    }

    void badProfiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const auto read = readProfile(bytes, "site.json");
        QVERIFY(!read.ok());
        QCOMPARE(read.error().file, QString("site.json"));
        QTEST(read.error().parameter, "parameter");
        QVERIFY2(read.error().message.startsWith("site.json: " + message), qPrintable(read.error().message));
    }

    // Saved files differ only where values do: catalogue order, not sorted by name.
    // Read back, files written by hand may use indexes, other spellings and a byte-order mark.
    void profileFiles()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("site.json");
        const ParameterValues values =
            valuesOf({"start_mode=pppoe", "parity=偶校验", "port=00008", "subnet_mask=255.0.0.0", "baud_rate=3"});
        QCOMPARE(saveProfile(values, path).has_value(), false);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("{\n"
                                            "    \"format\": \"kelvane-profile\",\n"
                                            "    \"version\": 1,\n"
                                            "    \"parameters\": {\n"
                                            "        \"baud_rate\": \"9600bps\",\n"
                                            "        \"parity\": \"偶校验\",\n"
                                            "        \"subnet_mask\": \"255.0.0.0\",\n"
                                            "        \"port\": \"00008\",\n"
                                            "        \"start_mode\": \"pppoe\"\n"
                                            "    }\n"
                                            "}\n"));
        QVERIFY(loadProfile(path).value() == values);
        const QByteArray text = R"({
            "parameters": {"start_mode": "DHCP", "baud_rate": "7",
                           "ip_address": "192.0.2.10", "time_delimiter": "3"},
            "version": 1.0, "format": "kelvane-profile"})";
        const auto read = readProfile(text, "site.json");
        QVERIFY(read.ok());
        const QStringList expected = {"baud_rate=115200bps", "time_delimiter=3", "ip_address=192.0.2.10",
                                      "start_mode=dhcp"};
        QVERIFY(read.value() == valuesOf(expected));
        // Editors on some systems start UTF-8 files with a byte-order mark.
        const auto marked = readProfile("\xef\xbb\xbf" + profile(R"("parity": "奇校验")"), "marked.json");
        QVERIFY(marked.ok());
        QVERIFY(marked.value() == valuesOf({"parity=1"}));
    }

    // One profile for many modules: only the address changes, one up for each module.
    void fleet_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<QString>("error");
        const QStringList none;
        QTest::newRow("padded, up to .254")
            << "203.000.113.253" << 2 << QStringList{"203.000.113.253", "203.000.113.254"} << "";
        QTest::newRow("reaching .255")
            << "203.0.113.250" << 6 << none << "ip_address: 6 modules from 203.0.113.250 run past .254";
        QTest::newRow("count near the int limit")
            << "192.0.2.1" << std::numeric_limits<int>::max() << none << "run past .254";
        QTest::newRow("from .0") << "192.0.2.0" << 1 << none << "192.0.2.0 is not a host address";
        QTest::newRow("loopback") << "127.0.0.1" << 1 << none << "not a host address";
        QTest::newRow("no modules") << "192.0.2.1" << 0 << none << "the count must be at least 1";
    }

    void fleet()
    {
        QFETCH(QString, first);
        QFETCH(int, count);
        QFETCH(QStringList, addresses);
        QFETCH(QString, error);
        const auto result = fleetProfiles(valuesOf({"baud_rate=3", "ip_address=192.0.2.1"}), first, count);
        QCOMPARE(result.ok(), error.isEmpty());
        if (!result.ok()) {
            QCOMPARE(result.error().parameter, QString("ip_address"));
            QVERIFY2(result.error().message.contains(error), qPrintable(result.error().message));
            return;
        }
        QCOMPARE(result.value().size(), addresses.size());
        for (int i = 0; i < addresses.size(); ++i)
            QVERIFY(result.value()[i] == valuesOf({"baud_rate=3", "ip_address=" + addresses[i]}));
    }
};

QTEST_GUILESS_MAIN(ValuesTest)
#include "tst_values.moc"
