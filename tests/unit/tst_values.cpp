// Parameter names, values, profile files and fleet addresses: what the window's
// save and load and the command line read from people and files.
#include "core/HeadlessPanel.h"
#include "profiles/Fleet.h"
#include "profiles/Profile.h"
#include "protocol/Catalogue.h"
#include "protocol/ParameterNames.h"
#include "protocol/ParameterValues.h"
#include "protocol/WriteSenders.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace kelvane;
using C = Control;

namespace {
const Parameter &row(const QString &key)
{
    const Parameter *parameter = parameterByKey(key);
    Q_ASSERT(parameter);
    return *parameter;
}

// A panel as start-up leaves it: every combo box holds its list.
void fillLists(HeadlessPanel &panel)
{
    for (const Parameter &parameter : catalogue()) {
        if (parameter.kind == ValueKind::Choice)
            panel.addItems(parameter.control, parameter.items);
    }
}

// A set built from NAME=VALUE lines; the lines are expected to be valid.
ParameterValues valuesOf(const QStringList &assignments)
{
    ParameterValues values;
    for (const QString &line : assignments) {
        const auto parsed = parseAssignment(line);
        Q_ASSERT(parsed.ok());
        values.set(*parsed.value().parameter, parsed.value().value);
    }
    return values;
}

const QStringList FullSet = {
    "baud_rate=115200bps", "flow_control=RTS/CTS", "data_bits=9", "time_delimiter=0003",
    "parity=偶校验", "byte_delimiter=0010", "stop_bits=2", "display_mode=兼容模式",
    "gateway=192.000.002.001", "subnet_mask=255.255.255.000", "ip_address=192.000.002.010",
    "port=08000", "destination_ip=198.051.100.007", "destination_port=09000",
    "socket_mode=UDP组播", "ethernet_mode=10M半双工手动握手", "start_mode=pppoe",
};

QByteArray profile(const QByteArray &parameters)
{
    return R"({"format": "kelvane-profile", "version": 1, "parameters": {)" + parameters + "}}";
}

QByteArray header(const QByteArray &format, const QByteArray &version)
{
    return "{\"format\": " + format + ", \"version\": " + version + ", \"parameters\": {}}";
}

QString describe(const QList<Difference> &differences)
{
    QStringList lines;
    for (const Difference &d : differences)
        lines.append(parameterKey(*d.parameter) + ": " + d.expected + " / " + d.actual.value_or("(none)"));
    return lines.join('\n');
}
}  // namespace

class ValuesTest : public QObject {
    Q_OBJECT

private slots:
    // Profile files hold these names: renaming one breaks every saved file.
    void keys()
    {
        const QStringList expected = {"baud_rate", "flow_control", "data_bits", "time_delimiter", "parity",
                                      "byte_delimiter", "stop_bits", "display_mode", "gateway", "subnet_mask",
                                      "ip_address", "port", "destination_ip", "destination_port", "socket_mode",
                                      "ethernet_mode", "start_mode"};
        const QList<C> controls = {C::Set_Baud_Rate, C::Set_Stream_Control, C::Set_Bits, C::Set_Time_Delimiter,
                                   C::Set_Parity, C::Set_Byte_Delimiter, C::Set_Stopbit, C::Disp_Mode, C::G_IP,
                                   C::MASK, C::S_IP, C::Port_Number, C::D_IP, C::D_Port, C::Socket_Mode,
                                   C::Ethernet_Mode, C::Direct};
        QCOMPARE(parameterKeys(), expected);
        for (int i = 0; i < ParameterCount; ++i) {
            const Parameter *parameter = parameterByKey(expected[i]);
            QVERIFY2(parameter, qPrintable(expected[i]));
            QCOMPARE(parameter->control, controls[i]);
            QCOMPARE(parameterRow(*parameter), i);
            QCOMPARE(parameterKey(catalogue()[i]), expected[i]);
        }
        QCOMPARE(parameterByKey(u"Baud_Rate"), nullptr);
        QCOMPARE(parameterByKey(u""), nullptr);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("error");  // a fragment of the message; empty when accepted
        const QString bauds = "1200bps, 2400bps, 4800bps, 9600bps, 19200bps, 38400bps, 57600bps, "
                              "115200bps, 230400bps, 600bps, or an index from 0 to 9";
        QTest::newRow("item text") << "baud_rate" << "9600bps" << "9600bps" << "";
        QTest::newRow("index") << "baud_rate" << "3" << "9600bps" << "";
        QTest::newRow("last index is 600bps, not 1200bps") << "baud_rate" << "9" << "600bps" << "";
        QTest::newRow("index with leading zeros") << "baud_rate" << "03" << "9600bps" << "";
        QTest::newRow("index past the list")
            << "baud_rate" << "10" << "" << "baud_rate: index 10 is out of range; allowed: " + bauds;
        QTest::newRow("index too large for any number")
            << "baud_rate" << "99999999999999999999" << "" << "index 99999999999999999999 is out of range";
        QTest::newRow("unknown item")
            << "baud_rate" << "9601bps" << "" << "baud_rate: \"9601bps\" is not an item; allowed: " + bauds;
        QTest::newRow("item text is exact") << "baud_rate" << "9600BPS" << "" << "\"9600BPS\" is not an item";
        QTest::newRow("negative index") << "baud_rate" << "-1" << "" << "\"-1\" is not an item";
        QTest::newRow("blank before index") << "baud_rate" << " 3" << "" << "\" 3\" is not an item";
        QTest::newRow("empty choice") << "flow_control" << "" << ""
            << "flow_control: \"\" is not an item; allowed: 无, None, RTS/CTS, or an index from 0 to 1";
        QTest::newRow("Chinese item") << "parity" << "偶校验" << "偶校验" << "";
        QTest::newRow("English item") << "parity" << "None" << "无校验" << "";
        QTest::newRow("English item, other list") << "socket_mode" << "TCP server" << "TCP服务器" << "";
        QTest::newRow("English is exact") << "socket_mode" << "tcp server" << "" << "\"tcp server\" is not an item";
        QTest::newRow("data bits index 0 is item 8") << "data_bits" << "0" << "8" << "";
        QTest::newRow("stop bits item 1 wins over index 1") << "stop_bits" << "1" << "1" << "";
        QTest::newRow("blanks kept in a text") << "port" << " 80 " << " 80 " << "";
        QTest::newRow("U+00FF is single-byte") << "gateway" << "\u00ff" << "\u00ff" << "";
        QTest::newRow("Chinese in an address") << "ip_address" << "192.0.2.中" << ""
            << "ip_address: character U+4E2D at position 9 has no single-byte code; allowed: characters up to U+00FF";
        QTest::newRow("start mode mixed case") << "start_mode" << "PPPoE" << "pppoe" << "";
        QTest::newRow("start mode unknown") << "start_mode" << "static" << ""
            << "start_mode: \"static\" is not a start mode; allowed: direct, pppoe, dhcp";
        QTest::newRow("start mode digit") << "start_mode" << "0" << "" << "\"0\" is not a start mode";
    }

    void parse()
    {
        QFETCH(QString, key);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QFETCH(QString, error);
        const auto parsed = parseValue(row(key), input);
        QCOMPARE(parsed.ok(), error.isEmpty());
        if (parsed.ok()) {
            QCOMPARE(parsed.value(), expected);
            return;
        }
        QCOMPARE(parsed.error().parameter, key);
        QVERIFY2(parsed.error().message.contains(error), qPrintable(parsed.error().message));
    }

    void assignment_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");    // the parameter named, accepted or not
        QTest::addColumn<QString>("value");  // empty when refused
        QTest::addColumn<QString>("error");  // a fragment of the message; empty when accepted
        QTest::newRow("index") << "parity=1" << "parity" << "奇校验" << "";
        QTest::newRow("value holds =") << "port=8=0" << "port" << "8=0" << "";
        QTest::newRow("empty text") << "time_delimiter=" << "time_delimiter" << "" << "";
        QTest::newRow("no =") << "baud_rate" << "" << "" << "\"baud_rate\" is not NAME=VALUE";
        QTest::newRow("no name") << "=9600bps" << "" << "" << "\"=9600bps\" is not NAME=VALUE";
        QTest::newRow("unknown name") << "speed=9600" << "speed" << ""
            << "unknown parameter \"speed\"; known: baud_rate, flow_control, data_bits, time_delimiter, parity, "
               "byte_delimiter, stop_bits, display_mode, gateway, subnet_mask, ip_address, port, destination_ip, "
               "destination_port, socket_mode, ethernet_mode, start_mode";
        QTest::newRow("blank in name") << "baud_rate =3" << "baud_rate " << "" << "unknown parameter \"baud_rate \"";
        QTest::newRow("bad value") << "baud_rate=10" << "baud_rate" << "" << "baud_rate: index 10 is out of range";
    }

    void assignment()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, error);
        const auto parsed = parseAssignment(text);
        QCOMPARE(parsed.ok(), error.isEmpty());
        if (parsed.ok()) {
            QCOMPARE(parameterKey(*parsed.value().parameter), key);
            QCOMPARE(parsed.value().value, value);
            return;
        }
        QCOMPARE(parsed.error().parameter, key);
        QVERIFY2(parsed.error().message.contains(error), qPrintable(parsed.error().message));
    }

    // A value put into the panel goes out as the bytes the module expects.
    void wireValue_data()
    {
        QTest::addColumn<QString>("assignment");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("9600bps is digit 3") << "baud_rate=9600bps" << QByteArray("3");
        QTest::newRow("600bps is the last digit, 9") << "baud_rate=600bps" << QByteArray("9");
        QTest::newRow("data bits 9, counted from 5") << "data_bits=9" << QByteArray("9");
        QTest::newRow("stop bits 2, counted from 1") << "stop_bits=2" << QByteArray("2");
        QTest::newRow("even parity is 2") << "parity=偶校验" << QByteArray("2");
        QTest::newRow("ethernet last item") << "ethernet_mode=10M半双工手动握手" << QByteArray("5");
        QTest::newRow("address as typed, unpadded") << "ip_address=192.0.2.7" << QByteArray("192.0.2.7");
        QTest::newRow("blanks around a text kept") << "time_delimiter= 1 " << QByteArray(" 1 ");
        QTest::newRow("empty text, empty value") << "byte_delimiter=" << QByteArray("");
        QTest::newRow("Latin-1 text") << "port=\u00e9" << QByteArray("\xe9");
        QTest::newRow("direct is 0") << "start_mode=direct" << QByteArray("0");
        QTest::newRow("pppoe is 1") << "start_mode=pppoe" << QByteArray("1");
        QTest::newRow("dhcp is 2") << "start_mode=dhcp" << QByteArray("2");
    }

    void wireValue()
    {
        QFETCH(QString, assignment);
        QFETCH(QByteArray, bytes);
        HeadlessPanel panel;
        fillLists(panel);
        panel.setChecked(C::DHCP, true);  // a start mode from before must not win
        QVERIFY(valuesOf({assignment}).applyTo(panel));
        QCOMPARE(writeValue(panel, *parseAssignment(assignment).value().parameter), std::optional<QByteArray>(bytes));
    }

    void sameValue_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("address padded and not") << "ip_address" << "192.0.2.10" << "192.000.002.010" << true;
        QTest::newRow("address with letters as text") << "destination_ip" << "a.b.c.d" << "a.b.c.d" << true;
        QTest::newRow("address last part differs") << "gateway" << "192.0.2.10" << "192.000.002.011" << false;
        QTest::newRow("address parts not shifted") << "gateway" << "19.20.2.10" << "192.0.2.10" << false;
        QTest::newRow("three parts compared as text") << "subnet_mask" << "255.255.255" << "255.255.255.000"
                                                      << false;
        QTest::newRow("port padded") << "port" << "80" << "00080" << true;
        QTest::newRow("port differs by a digit") << "destination_port" << "80" << "800" << false;
        QTest::newRow("zero delimiter") << "time_delimiter" << "0" << "0000" << true;
        QTest::newRow("field text of a blank") << "byte_delimiter" << "-16-16" << "-16-16" << true;
        QTest::newRow("delimiter not a number") << "byte_delimiter" << "-160" << "0160" << false;
        QTest::newRow("empty port is not zero") << "port" << "" << "0" << false;
        QTest::newRow("choice exact") << "parity" << "无校验" << "无校验" << true;
        QTest::newRow("choice items differ") << "stop_bits" << "1" << "2" << false;
    }

    void sameValue()
    {
        QFETCH(QString, key);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(kelvane::sameValue(row(key), a, b), same);
        QCOMPARE(kelvane::sameValue(row(key), b, a), same);
    }

    void compare_data()
    {
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("actual");
        QTest::addColumn<QString>("differences");
        const QStringList wanted = {"baud_rate=9600bps", "ip_address=192.0.2.10", "start_mode=dhcp"};
        QTest::newRow("equal, address padded, extra ignored")
            << wanted << QStringList{"baud_rate=3", "ip_address=192.000.002.010", "start_mode=dhcp", "port=8000"}
            << "";
        QTest::newRow("actual lacks one")
            << wanted << QStringList{"baud_rate=9600bps", "ip_address=192.0.2.10"} << "start_mode: dhcp / (none)";
        QTest::newRow("all differ, in catalogue order")
            << QStringList{"start_mode=dhcp", "baud_rate=9600bps", "ip_address=192.0.2.10"}
            << QStringList{"start_mode=direct", "ip_address=192.0.2.11"}
            << "baud_rate: 9600bps / (none)\nip_address: 192.0.2.10 / 192.0.2.11\nstart_mode: dhcp / direct";
    }

    void compare()
    {
        QFETCH(QStringList, expected);
        QFETCH(QStringList, actual);
        QFETCH(QString, differences);
        QCOMPARE(describe(compareValues(valuesOf(expected), valuesOf(actual))), differences);
    }

    // Every control comes back exactly as it was: each combo box's index, each
    // text, each option button.
    void panelRoundTrip_data()
    {
        QTest::addColumn<QList<int>>("indexes");  // the 8 combo boxes, catalogue order
        QTest::addColumn<QStringList>("texts");   // the 8 text boxes, catalogue order
        QTest::addColumn<int>("checked");         // Direct, PPPOE, DHCP, or -1
        QTest::addColumn<int>("held");            // how many values the panel shows
        QTest::newRow("first items, direct") << QList<int>{0, 0, 0, 0, 0, 0, 0, 0}
            << QStringList{"0003", "0010", "192.000.002.001", "255.255.255.000", "192.000.002.010", "08000",
                           "198.051.100.007", "09000"} << 0 << 17;
        QTest::newRow("last items, pppoe") << QList<int>{9, 1, 1, 2, 1, 2, 5, 5}
            << QStringList{"-16-16-16-16", "9999", "203.0.113.1", "255.255.0.0", "203.0.113.9", "65535",
                           "203.0.113.2", "1"} << 1 << 17;
        QTest::newRow("dhcp, Latin-1 and empty texts")
            << QList<int>{3, 1, 0, 1, 1, 1, 0, 4} << QStringList{"", "\u00e9", "", "", "", "", "", ""} << 2 << 17;
        QTest::newRow("nothing selected, nothing checked")
            << QList<int>(8, -1) << QStringList(8, QString()) << -1 << 8;
    }

    void panelRoundTrip()
    {
        QFETCH(QList<int>, indexes);
        QFETCH(QStringList, texts);
        QFETCH(int, checked);
        QFETCH(int, held);
        const std::array starts = {C::Direct, C::PPPOE, C::DHCP};
        HeadlessPanel source;
        fillLists(source);
        for (const Parameter &parameter : catalogue()) {
            if (parameter.kind == ValueKind::Choice)
                QVERIFY(source.selectIndex(parameter.control, indexes.takeFirst()));
            else if (parameter.kind == ValueKind::Text)
                source.setText(parameter.control, texts.takeFirst());
        }
        if (checked >= 0)
            source.setChecked(starts[checked], true);

        const auto values = ParameterValues::fromPanel(source);
        QVERIFY(values.ok());
        QCOMPARE(values.value().size(), held);
        HeadlessPanel target;
        fillLists(target);
        QVERIFY(values.value().applyTo(target));
        for (const Parameter &parameter : catalogue()) {
            const QByteArray name = controlName(parameter.control).toLatin1();
            QVERIFY2(target.selectedIndex(parameter.control) == source.selectedIndex(parameter.control), name);
            QVERIFY2(target.text(parameter.control) == source.text(parameter.control), name);
        }
        for (Control button : starts)
            QCOMPARE(target.isChecked(button), source.isChecked(button));
    }

    void panelRefusals()
    {
        HeadlessPanel panel;
        fillLists(panel);
        panel.setText(C::D_IP, "198.51.100.中");
        const auto values = ParameterValues::fromPanel(panel);
        QVERIFY(!values.ok());
        QCOMPARE(values.error().parameter, QString("destination_ip"));

        // A combo box that was never filled cannot take its item.
        HeadlessPanel empty;
        QVERIFY(!valuesOf({"parity=奇校验"}).applyTo(empty));
        QCOMPARE(empty.selectedIndex(C::Set_Parity), -1);
        QVERIFY(valuesOf({"port=8000"}).applyTo(empty));
    }

    void applyLeavesOthersAlone()
    {
        HeadlessPanel panel;
        fillLists(panel);
        QVERIFY(valuesOf(FullSet).applyTo(panel));
        QVERIFY(valuesOf({"baud_rate=2400bps", "port=502", "start_mode=direct"}).applyTo(panel));
        ParameterValues expected = valuesOf(FullSet);
        expected.merge(valuesOf({"baud_rate=1", "port=502", "start_mode=DIRECT"}));
        const auto shown = ParameterValues::fromPanel(panel);
        QVERIFY(shown.ok());
        QCOMPARE(describe(compareValues(expected, shown.value())), QString());
        QVERIFY(shown.value() == expected);
        QCOMPARE(panel.isChecked(C::PPPOE), false);
    }

    void jsonRoundTrip_data()
    {
        QTest::addColumn<QStringList>("assignments");
        QTest::newRow("all 17") << FullSet;
        QTest::newRow("escapes, controls and Latin-1")
            << QStringList{"port=\"\\\n\u0001", QString("gateway=\u00ff") + QChar(0) + "x"};
    }

    void jsonRoundTrip()
    {
        QFETCH(QStringList, assignments);
        const ParameterValues values = valuesOf(assignments);
        const QJsonObject json = values.toJson();
        QCOMPARE(json.size(), int(assignments.size()));
        const auto back = ParameterValues::fromJson(json);
        QVERIFY(back.ok());
        QVERIFY(back.value() == values);
        const auto reread = readProfile(profileText(values), "round.json");
        QVERIFY(reread.ok());
        QVERIFY(reread.value() == values);
    }

    void badProfiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("parameter");  // empty when the file as a whole is wrong
        QTest::addColumn<QString>("message");    // after "site.json: "
        const QByteArray kp = "\"kelvane-profile\"";
        QTest::newRow("empty file") << QByteArray() << "" << "not JSON: ";
        QTest::newRow("list") << QByteArray("[]") << "" << "not a profile: expected a JSON object";
        QTest::newRow("trailing garbage") << profile("") + "x" << "" << "not JSON";
        QTest::newRow("other format") << header("\"other\"", "1") << ""
                                      << "format is \"other\", expected \"kelvane-profile\"";
        QTest::newRow("format missing") << QByteArray(R"({"version": 1, "parameters": {}})") << ""
                                        << "format is missing, expected \"kelvane-profile\"";
        QTest::newRow("version 2") << header(kp, "2") << "" << "version is 2; this program reads version 1";
        QTest::newRow("version text holding a placeholder")
            << header(kp, "\"%2\"") << "" << "version is \"%2\"; this program reads version 1";
        QTest::newRow("version 1.5") << header(kp, "1.5") << "" << "version is 1.5";
        QTest::newRow("parameters a list")
            << QByteArray(R"({"format": "kelvane-profile", "version": 1, "parameters": ["baud_rate"]})") << ""
            << "parameters is [\"baud_rate\"], expected an object";
        QTest::newRow("parameters missing") << QByteArray(R"({"format": "kelvane-profile", "version": 1})") << ""
                                            << "parameters is missing, expected an object";
        QTest::newRow("unknown field")
            << QByteArray(R"({"comment": "", "format": "kelvane-profile", "version": 1, "parameters": {}})") << ""
            << "unknown field \"comment\"; a profile holds only format, version, parameters";
        QTest::newRow("unknown parameter") << profile(R"("speed": "9600bps")") << "speed"
                                           << "unknown parameter \"speed\"; known: baud_rate, flow_control";
        QTest::newRow("number for a choice") << profile(R"("baud_rate": 3)") << "baud_rate"
                                             << "baud_rate: expected a text, found a number";
        QTest::newRow("null") << profile(R"("port": null)") << "port" << "port: expected a text, found null";
        QTest::newRow("object") << profile(R"("gateway": {})") << "gateway" << "gateway: expected a text, found an object";
        QTest::newRow("boolean") << profile(R"("start_mode": true)") << "start_mode"
                                 << "start_mode: expected a text, found a boolean";
        QTest::newRow("item not in list") << profile(R"("parity": "even")") << "parity"
            << "parity: \"even\" is not an item; allowed: 无校验, None, 奇校验, Odd, 偶校验, Even, or an index from 0 to 2";
        QTest::newRow("escaped text above U+00FF") << profile(R"("port": "8\u20ac")") << "port"
                                                   << "port: character U+20AC at position 2";
        QTest::newRow("good then bad") << profile(R"("baud_rate": "3", "stop_bits": "3")") << "stop_bits"
                                       << "stop_bits: index 3 is out of range";
        QTest::newRow("parameter twice")
            << profile(R"("baud_rate": "9600bps", "parity": "1", "baud_rate": "1200bps")") << "baud_rate"
            << "baud_rate: given more than once";
        QTest::newRow("parameter twice, once escaped") << profile(R"("baud_rate": "3", "baud\u005frate": "3")")
                                                       << "baud_rate" << "baud_rate: given more than once";
        QTest::newRow("field twice")
            << QByteArray(R"({"format": "kelvane-profile", "format": "kelvane-profile", "version": 1, "parameters": {}})")
            << "" << "\"format\" is given more than once";
        QTest::newRow("unknown parameter twice") << profile(R"("speed": "1", "speed": "2")") << ""
                                                 << "\"parameters.speed\" is given more than once";
        QTest::newRow("larger than 64 KiB") << profile("\"port\": \"" + QByteArray(MaxProfileBytes, '1') + "\"")
                                            << "" << "larger than 65536 bytes, not a profile";
    }

    void badProfiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, parameter);
        QFETCH(QString, message);
        const auto read = readProfile(bytes, "site.json");
        QVERIFY(!read.ok());
        QCOMPARE(read.error().file, QString("site.json"));
        QCOMPARE(read.error().parameter, parameter);
        QVERIFY2(read.error().message.startsWith("site.json: " + message), qPrintable(read.error().message));
    }

    void goodProfile()
    {
        // Indexes and start-mode spellings are read into the form the window shows.
        const QByteArray text = R"({
            "parameters": {"start_mode": "DHCP", "baud_rate": "7", "ip_address": "192.0.2.10",
                           "time_delimiter": ""},
            "version": 1.0, "format": "kelvane-profile"})";
        const auto read = readProfile(text, "site.json");
        QVERIFY2(read.ok(), qPrintable(read.ok() ? QString() : read.error().message));
        QVERIFY(read.value() == valuesOf({"baud_rate=115200bps", "time_delimiter=", "ip_address=192.0.2.10",
                                           "start_mode=dhcp"}));
        // Editors on some systems start UTF-8 files with a byte-order mark.
        const auto marked = readProfile("\xef\xbb\xbf" + profile(R"("parity": "奇校验")"), "marked.json");
        QVERIFY(marked.ok());
        QVERIFY(marked.value() == valuesOf({"parity=1"}));
    }

    void profileTextIsStable()
    {
        const ParameterValues values = valuesOf({"start_mode=pppoe", "parity=偶校验", "port=\"8\"", "baud_rate=3"});
        const QByteArray expected = "{\n"
                                    "    \"format\": \"kelvane-profile\",\n"
                                    "    \"version\": 1,\n"
                                    "    \"parameters\": {\n"
                                    "        \"baud_rate\": \"9600bps\",\n"
                                    "        \"parity\": \"偶校验\",\n"
                                    "        \"port\": \"\\\"8\\\"\",\n"
                                    "        \"start_mode\": \"pppoe\"\n"
                                    "    }\n"
                                    "}\n";
        QCOMPARE(profileText(values), expected);
        // All 17 in catalogue order, not sorted by name.
        const QByteArray full = profileText(valuesOf(FullSet));
        qsizetype at = 0;
        for (const QString &key : parameterKeys()) {
            const qsizetype next = full.indexOf("\"" + key.toLatin1() + "\":");
            QVERIFY2(next > at, qPrintable(key));
            at = next;
        }
        QCOMPARE(profileText(ParameterValues()),
                 QByteArray("{\n    \"format\": \"kelvane-profile\",\n    \"version\": 1,\n    \"parameters\": {}\n}\n"));
    }

    void profileFiles()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const ParameterValues values = valuesOf(FullSet);
        QCOMPARE(saveProfile(values, dir.filePath("site.json")).has_value(), false);
        const auto loaded = loadProfile(dir.filePath("site.json"));
        QVERIFY(loaded.ok());
        QVERIFY(loaded.value() == values);

        const QString missing = dir.filePath("missing.json");
        const auto absent = loadProfile(missing);
        QVERIFY(!absent.ok());
        QVERIFY2(absent.error().message.startsWith(missing + ": cannot be read"), qPrintable(absent.error().message));
        const auto unwritable = saveProfile(values, dir.filePath("no/such/dir/site.json"));
        QVERIFY(unwritable.has_value());
        QVERIFY(unwritable->message.contains("cannot be written"));
        QCOMPARE(unwritable->file, dir.filePath("no/such/dir/site.json"));
    }

    void fleet_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<QString>("error");
        QTest::newRow("three") << "192.0.2.10" << 3
                               << QStringList{"192.000.002.010", "192.000.002.011", "192.000.002.012"} << "";
        QTest::newRow("padded start") << "198.051.100.009" << 1 << QStringList{"198.051.100.009"} << "";
        QTest::newRow("up to .255") << "203.0.113.254" << 2 << QStringList{"203.000.113.254", "203.000.113.255"}
                                    << "";
        QTest::newRow("one past .255") << "203.0.113.250" << 7 << QStringList{}
                                       << "ip_address: 7 modules from 203.0.113.250 run past .255";
        QTest::newRow("count near the int limit") << "192.0.2.1" << std::numeric_limits<int>::max()
                                                  << QStringList{} << "run past .255";
        QTest::newRow("no modules") << "192.0.2.1" << 0 << QStringList{}
                                    << "ip_address: 0 modules from 192.0.2.1; the count must be at least 1";
        QTest::newRow("negative count") << "192.0.2.1" << -2 << QStringList{} << "the count must be at least 1";
        QTest::newRow("part above 255") << "192.0.2.256" << 1 << QStringList{}
            << "ip_address: \"192.0.2.256\" is not an address A.B.C.D with parts from 0 to 255";
        QTest::newRow("three parts") << "192.0.2" << 1 << QStringList{} << "\"192.0.2\" is not an address";
        QTest::newRow("four digits") << "192.0.2.0010" << 1 << QStringList{} << "is not an address";
        QTest::newRow("empty part") << "192..2.1" << 1 << QStringList{} << "is not an address";
        QTest::newRow("sign") << "192.0.2.+1" << 1 << QStringList{} << "is not an address";
    }

    void fleet()
    {
        QFETCH(QString, first);
        QFETCH(int, count);
        QFETCH(QStringList, addresses);
        QFETCH(QString, error);
        const auto result = fleetAddresses(first, count);
        QCOMPARE(result.ok(), error.isEmpty());
        if (result.ok()) {
            QCOMPARE(result.value(), addresses);
            return;
        }
        QCOMPARE(result.error().parameter, QString("ip_address"));
        QVERIFY2(result.error().message.contains(error), qPrintable(result.error().message));
    }

    void fleetProfiles()
    {
        const ParameterValues base = valuesOf({"baud_rate=3", "ip_address=192.0.2.1", "start_mode=dhcp"});
        const auto fleet = kelvane::fleetProfiles(base, "192.0.2.20", 2);
        QVERIFY(fleet.ok());
        QCOMPARE(fleet.value().size(), 2);
        QVERIFY(fleet.value()[0] == valuesOf({"baud_rate=3", "ip_address=192.000.002.020", "start_mode=dhcp"}));
        QVERIFY(fleet.value()[1] == valuesOf({"baud_rate=3", "ip_address=192.000.002.021", "start_mode=dhcp"}));
        QVERIFY(!kelvane::fleetProfiles(base, "192.0.2.255", 2).ok());
    }
};

QTEST_GUILESS_MAIN(ValuesTest)
#include "tst_values.moc"
