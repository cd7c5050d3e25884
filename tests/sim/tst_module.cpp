// A virtual module's values: what a write stores and what the tool then reads.
#include "sim/ModuleModel.h"

#include "replies/DiscoveryReply.h"
#include "replies/ParameterReply.h"

#include <QSet>
#include <QTest>

using namespace kelvane;
using namespace kelvane::sim;

namespace {
// What the tool shows for an answer: the item for a choice, the text for a
// text box, the digit for the start mode; empty when it refuses the answer.
QString shownByTool(int row, const QByteArray &answer)
{
    const Parameter &p = catalogue()[row];
    const Answer decoded = decodeAnswer(p, answer);
    if (const auto *index = std::get_if<answer::Index>(&decoded))
        return p.items.value(index->index);
    if (const auto *text = std::get_if<answer::Text>(&decoded))
        return text->text;
    if (const auto *mode = std::get_if<answer::StartMode>(&decoded))
        return QString::number(mode->digit);
    return {};
}
}  // namespace

class ModuleTest : public QObject {
    Q_OBJECT

private slots:
    void writtenValueReadsBack_data();
    void writtenValueReadsBack();
    void unfitWriteIsRefused_data();
    void unfitWriteIsRefused();
    void everyFactoryValueIsOneTheToolTakes();
    void addresses_data();
    void addresses();
    void addressesStayDistinct();
    void defaultsUndoWrites();
};

void ModuleTest::writtenValueReadsBack_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("shown");

    QTest::newRow("last baud item") << QByteArray("UB") << QByteArray("9") << "600bps";
    QTest::newRow("first baud item") << QByteArray("UB") << QByteArray("0") << "1200bps";
    QTest::newRow("flow control") << QByteArray("UT") << QByteArray("1") << "RTS/CTS";
    QTest::newRow("8 data bits") << QByteArray("UD") << QByteArray("8") << "8";
    QTest::newRow("9 data bits") << QByteArray("UD") << QByteArray("9") << "9";
    QTest::newRow("even parity") << QByteArray("UP") << QByteArray("2") << "偶校验";
    QTest::newRow("1 stop bit") << QByteArray("US") << QByteArray("1") << "1";
    QTest::newRow("2 stop bits") << QByteArray("US") << QByteArray("2") << "2";
    QTest::newRow("display mode") << QByteArray("CM") << QByteArray("2") << "兼容模式";
    QTest::newRow("multicast") << QByteArray("SR") << QByteArray("5") << "UDP组播";
    QTest::newRow("ethernet") << QByteArray("ET") << QByteArray("5") << "10M半双工手动握手";
    QTest::newRow("time delimiter padded") << QByteArray("TM") << QByteArray("7") << "0007";
    QTest::newRow("time delimiter full") << QByteArray("TM") << QByteArray("9999") << "9999";
    QTest::newRow("byte delimiter zero") << QByteArray("BT") << QByteArray("0") << "0000";
    QTest::newRow("port padded") << QByteArray("PT") << QByteArray("80") << "00080";
    QTest::newRow("port highest") << QByteArray("PT") << QByteArray("65535") << "65535";
    QTest::newRow("port read back as shown") << QByteArray("DP") << QByteArray("00502") << "00502";
    QTest::newRow("address short groups") << QByteArray("IP") << QByteArray("192.168.0.7") << "192.168.000.007";
    QTest::newRow("address as shown") << QByteArray("GA") << QByteArray("010.001.002.254") << "010.001.002.254";
    QTest::newRow("mask") << QByteArray("SM") << QByteArray("255.255.0.0") << "255.255.000.000";
    QTest::newRow("all zero address") << QByteArray("DA") << QByteArray("0.0.0.0") << "000.000.000.000";
    QTest::newRow("direct") << QByteArray("PD") << QByteArray("0") << "0";
    QTest::newRow("dhcp") << QByteArray("PD") << QByteArray("2") << "2";
}

void ModuleTest::writtenValueReadsBack()
{
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, written);
    QFETCH(QString, shown);

    ModuleModel module(4);
    const int row = rowOfCode(code);
    QVERIFY(row >= 0);
    QVERIFY(module.write(row, written));
    const QByteArray answer = module.answer(row);
    QCOMPARE(answer.left(6), module.address().toByteArray());
    QVERIFY(answer.endsWith("\r\n"));
    QCOMPARE(shownByTool(row, answer), shown);
}

void ModuleTest::unfitWriteIsRefused_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("baud past the list") << QByteArray("UB") << QByteArray(":");
    QTest::newRow("no combo selection") << QByteArray("UB") << QByteArray("/");
    QTest::newRow("two digits") << QByteArray("UB") << QByteArray("12");
    QTest::newRow("empty choice") << QByteArray("UT") << QByteArray();
    QTest::newRow("flow control 2") << QByteArray("UT") << QByteArray("2");
    QTest::newRow("7 data bits") << QByteArray("UD") << QByteArray("7");
    QTest::newRow("0 stop bits") << QByteArray("US") << QByteArray("0");
    QTest::newRow("3 stop bits") << QByteArray("US") << QByteArray("3");
    QTest::newRow("parity 3") << QByteArray("UP") << QByteArray("3");
    QTest::newRow("socket mode 6") << QByteArray("SR") << QByteArray("6");
    QTest::newRow("start mode 3") << QByteArray("PD") << QByteArray("3");
    QTest::newRow("empty delimiter") << QByteArray("TM") << QByteArray();
    QTest::newRow("five-digit delimiter") << QByteArray("TM") << QByteArray("10000");
    QTest::newRow("delimiter with blank") << QByteArray("BT") << QByteArray(" 12");
    QTest::newRow("signed delimiter") << QByteArray("BT") << QByteArray("-1");
    QTest::newRow("port too high") << QByteArray("PT") << QByteArray("65536");
    QTest::newRow("six-digit port") << QByteArray("DP") << QByteArray("000080");
    QTest::newRow("three groups") << QByteArray("IP") << QByteArray("192.168.1");
    QTest::newRow("five groups") << QByteArray("IP") << QByteArray("1.2.3.4.5");
    QTest::newRow("group over 255") << QByteArray("GA") << QByteArray("192.168.1.256");
    QTest::newRow("empty group") << QByteArray("SM") << QByteArray("255..255.0");
    QTest::newRow("four-digit group") << QByteArray("DA") << QByteArray("1.2.3.0004");
    QTest::newRow("letters") << QByteArray("IP") << QByteArray("a.b.c.d");
    QTest::newRow("empty address") << QByteArray("IP") << QByteArray();
}

void ModuleTest::unfitWriteIsRefused()
{
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, written);

    ModuleModel module(1);
    const int row = rowOfCode(code);
    QVERIFY(row >= 0);
    const QByteArray before = module.answer(row);
    QVERIFY(!module.write(row, written));
    QCOMPARE(module.answer(row), before);
}

void ModuleTest::everyFactoryValueIsOneTheToolTakes()
{
    // The read of any module must succeed without a rejected answer, and every
    // text must be plain digits (a "-" would betray a byte that is no digit).
    for (int i = 0; i < 300; ++i) {
        const ModuleModel module(i);
        for (int row = 0; row < ParameterCount; ++row) {
            const QString shown = shownByTool(row, module.answer(row));
            QVERIFY2(!shown.isEmpty() && !shown.contains(QLatin1Char('-')),
                     qPrintable(QStringLiteral("module %1 row %2: %3").arg(i).arg(row).arg(shown)));
        }
    }
}

void ModuleTest::addresses_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("item");

    QTest::newRow("first") << 0 << "设备 ( 024B56000001 )";
    QTest::newRow("third") << 2 << "设备 ( 024B56000003 )";
    QTest::newRow("one byte full") << 254 << "设备 ( 024B560000FF )";
    QTest::newRow("carry into the next byte") << 255 << "设备 ( 024B56000100 )";
    QTest::newRow("carry into the third byte") << 65535 << "设备 ( 024B56010000 )";
}

void ModuleTest::addresses()
{
    QFETCH(int, index);
    QFETCH(QString, item);

    const ModuleModel module(index);
    QCOMPARE(deviceItemText(module.address()), item);
    const QByteArray reply = module.discoveryReply();
    QCOMPARE(reply.left(6), module.address().toByteArray());
    QVERIFY(reply.size() > 6);
}

void ModuleTest::addressesStayDistinct()
{
    QSet<QByteArray> seen;
    for (int i = 0; i < 300; ++i)
        seen.insert(ModuleModel::addressOf(i).toByteArray());
    QCOMPARE(seen.size(), 300);
}

void ModuleTest::defaultsUndoWrites()
{
    ModuleModel module(2);
    const Values factory = ModuleModel::factoryValues(2);
    QVERIFY(module.write(rowOfCode("UB"), "0"));
    QVERIFY(module.write(rowOfCode("IP"), "10.0.0.1"));
    QVERIFY(module.write(rowOfCode("PD"), "0"));
    QVERIFY(module.value(rowOfCode("IP")) != factory[rowOfCode("IP")]);

    module.restoreDefaults();
    for (int row = 0; row < ParameterCount; ++row)
        QCOMPARE(module.value(row), factory[row]);
}

QTEST_GUILESS_MAIN(ModuleTest)
#include "tst_module.moc"
