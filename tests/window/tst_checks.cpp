// SPDX-License-Identifier: Apache-2.0
// What the window makes of the settings checks: each listed module's address, card and
// warnings on its item after a scan, and 设置 refusing or asking before it sends.
#include "support/WindowRig.h"

#include <QLineEdit>

using namespace kelvane;
using test::addr;
using test::WindowRig;

namespace {
// The card of FakeLink, with the prefix a system reports for it.
void withSubnet(WindowRig &w)
{
    w.link.cardList[0].prefixLength = 24;
}
}  // namespace

class ChecksTest : public QObject {
    Q_OBJECT
private slots:
    // Modules 1, 2 and 3 answer from `from` (empty: no route known). Each item's tooltip holds
    // the parts of its row, "|" between them; `marked` lists the items with the warning icon.
    void itemsAfterAScan_data()
    {
        QTest::addColumn<QStringList>("from");
        QTest::addColumn<QStringList>("tips");
        QTest::addColumn<QList<bool>>("marked");
        const QString card = "网卡：eth0（192.0.2.1/24）";
        QTest::newRow("two share an address, the third does not")
            << QStringList{"192.0.2.10", "192.0.2.10", "192.0.2.30"}
            << QStringList{"应答地址：192.0.2.10|" + card + "|警告：Module 001122334401 answered from 192.0.2.10, "
                                                             "and so did 001122334402",
                           "应答地址：192.0.2.10|警告：Module 001122334402|and so did 001122334401",
                           "应答地址：192.0.2.30|" + card}
            << QList<bool>{true, true, false};
        QTest::newRow("one in another subnet")
            << QStringList{"192.0.2.10", "198.51.100.7", "192.0.2.30"}
            << QStringList{"应答地址：192.0.2.10", "应答地址：198.51.100.7|警告：|outside the subnet of card eth0 "
                                                                   "(192.0.2.1/24)",
                           "应答地址：192.0.2.30"}
            << QList<bool>{false, true, false};
        QTest::newRow("where they answered from not known") << QStringList{"", "", ""} << QStringList{"", "", ""}
                                                            << QList<bool>{false, false, false};
    }

    void itemsAfterAScan()
    {
        QFETCH(QStringList, from);
        QFETCH(QStringList, tips);
        QFETCH(QList<bool>, marked);
        WindowRig plain;
        plain.scan(3);
        WindowRig w;
        withSubnet(w);
        for (int i = 0; i < from.size(); ++i) {
            if (!from[i].isEmpty())
                w.link.answersFrom(addr(i + 1), from[i]);
        }
        w.scan(3);
        // The texts and the scan's entries are those of a scan that knows no addresses.
        QCOMPARE(w.form.logText(), plain.form.logText());
        QCOMPARE(w.list()->count(), 3);
        for (int row = 0; row < 3; ++row) {
            const QListWidgetItem *item = w.list()->item(row);
            QCOMPARE(item->text(), plain.list()->item(row)->text());
            QCOMPARE(!item->icon().isNull(), marked[row]);
            const QString tip = item->toolTip();
            QCOMPARE(tip.isEmpty() || tip == "<p></p>", tips[row].isEmpty());
            for (const QString &part : tips[row].split('|', Qt::SkipEmptyParts))
                QVERIFY2(tip.contains(part.toHtmlEscaped()), qPrintable(tip));
        }
        // The module apart is named in no warning.
        QVERIFY2(!w.list()->item(2)->toolTip().contains("警告"), qPrintable(w.list()->item(2)->toolTip()));
    }

    // The read fills the window with gateway 010.000.000.001 and ip 010.000.000.007/24, in PPPoE
    // start mode: every rule met. `edits` change text boxes first ("NAME=TEXT") or check an
    // option ("NAME"); `key` answers the box.
    void settingChecksFirst_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("box");  // "" none, "message" or "question"
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("says");
        QTest::addColumn<bool>("sent");
        const QString elsewhere = "G_IP=192.168.000.001";
        // Refused: a box with OK alone, nothing sent.
        const auto refused = [](const char *name, const QStringList &edits, const QString &says) {
            QTest::newRow(name) << edits << "message" << int(Qt::Key_Return) << says << false;
        };
        refused("broadcast address in direct mode: refused", {"S_IP=010.000.000.255", "Direct"},
                "ip_address: 010.000.000.255 is the broadcast address");
        // The read leaves PPPoE chosen: the module is given its address.
        QTest::newRow("broadcast address in PPPoE mode: asked")
            << QStringList{"S_IP=010.000.000.255"} << "question" << int(Qt::Key_Y)
            << "in pppoe start mode the module is given its address" << true;
        QTest::newRow("gateway elsewhere: Enter answers No")
            << QStringList{elsewhere} << "question" << int(Qt::Key_Return) << "gateway: 192.168.000.001 lies outside"
            << false;
        QTest::newRow("gateway elsewhere: Yes sends") << QStringList{elsewhere} << "question" << int(Qt::Key_Y)
                                                      << "gateway: 192.168.000.001 lies outside" << true;
        // A value the module cannot take in its form is refused before the checks look.
        refused("address group past 255: refused", {"S_IP=999.1.1.1"}, "IP地址参数无效，请输入以“.”分隔的四组数字，每组0到255！");
        refused("empty gateway: refused", {"G_IP="}, "网关IP地址参数无效，请输入以“.”分隔的四组数字");
        refused("port past 65535: refused", {"Port_Number=99999999"}, "本机端口号参数无效，请输入0到65535的数字！");
        QTest::newRow("every rule met: sent at once") << QStringList{} << "" << 0 << "" << true;
    }

    void settingChecksFirst()
    {
        QFETCH(QStringList, edits);
        QFETCH(QString, box);
        QFETCH(int, key);
        QFETCH(QString, says);
        QFETCH(bool, sent);
        WindowRig w;
        QVERIFY(w.show());
        w.read();
        for (const QString &edit : edits) {
            if (edit.contains('='))
                w.find<QLineEdit>(edit.section('=', 0, 0))->setText(edit.section('=', 1));
            else
                w.find<QAbstractButton>(edit)->setChecked(true);
        }
        w.link.sent.clear();
        const QString log = w.form.logText();
        QStringList seen;
        if (!box.isEmpty())
            test::answerNextModal(&w.form, seen, Qt::Key(key));
        w.click("Setting");
        if (!box.isEmpty()) {
            QTRY_VERIFY(!seen.isEmpty());
            QCOMPARE(seen.value(0), "设置");
            QVERIFY2(seen.value(1).contains(says), qPrintable(seen.value(1)));
            // A refusal has OK alone; a question Yes and No.
            QCOMPARE(seen.size(), box == "message" ? 3 : 4);
        }
        QCOMPARE(!w.link.sent.isEmpty(), sent);
        if (sent)
            QVERIFY(w.link.sent.first().startsWith(addr(1) + "ATUB="));
        else
            QCOMPARE(w.form.logText(), log);
    }
};

QTEST_MAIN(ChecksTest)
#include "tst_checks.moc"
