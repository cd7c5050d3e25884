// SPDX-License-Identifier: Apache-2.0
// What the window makes of the settings checks: each listed module's address, card and
// warnings on its item after a scan, and 设置 refusing or asking before it sends.
#include "support/WindowRig.h"

#include <QLineEdit>

using namespace kelvane;
using test::addr;
using test::WindowRig;

class ChecksTest : public QObject {
    Q_OBJECT
private slots:
    // Modules 1 and 2 answer from one address, module 3 from another: the two are marked and warned
    // of each other, with where each answered from and through which card in its tooltip; the item
    // texts and the scan's entries stay those of a scan that knows no addresses.
    void itemsAfterAScan()
    {
        WindowRig plain;
        plain.scan(3);
        WindowRig w;
        w.link.cardList[0].prefixLength = 24;
        for (int i = 1; i <= 3; ++i)
            w.link.answersFrom(addr(i), i == 3 ? "192.0.2.30" : "192.0.2.10");
        w.scan(3);
        QCOMPARE(w.form.logText(), plain.form.logText());
        const QString card = "网卡：eth0（192.0.2.1/24）";
        const QStringList tips{"应答地址：192.0.2.10|" + card + "|警告：Module 001122334401 answered from 192.0.2.10, "
                                                                "and so did 001122334402",
                               "应答地址：192.0.2.10|警告：Module 001122334402|and so did 001122334401",
                               "应答地址：192.0.2.30|" + card};
        QCOMPARE(w.list()->count(), 3);
        for (int row = 0; row < 3; ++row) {
            const QListWidgetItem *item = w.list()->item(row);
            QCOMPARE(item->text(), plain.list()->item(row)->text());
            QCOMPARE(!item->icon().isNull(), row < 2);
            for (const QString &part : tips[row].split('|'))
                QVERIFY2(item->toolTip().contains(part.toHtmlEscaped()), qPrintable(item->toolTip()));
        }
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
        // One row for each outcome; the rules themselves are the settings checks' own table.
        QTest::newRow("broadcast address in direct mode: refused")
            << QStringList{"S_IP=010.000.000.255", "Direct"} << "message" << int(Qt::Key_Return)
            << "ip_address: 010.000.000.255 is the broadcast address" << false;
        QTest::newRow("gateway elsewhere: Enter answers No")
            << QStringList{elsewhere} << "question" << int(Qt::Key_Return) << "gateway: 192.168.000.001 lies outside"
            << false;
        QTest::newRow("gateway elsewhere: Yes sends") << QStringList{elsewhere} << "question" << int(Qt::Key_Y)
                                                      << "gateway: 192.168.000.001 lies outside" << true;
        // A value the module cannot take in its form is refused before the checks look.
        QTest::newRow("port past 65535: refused") << QStringList{"Port_Number=99999999"} << "message"
                                                  << int(Qt::Key_Return) << "本机端口号参数无效，请输入0到65535的数字！"
                                                  << false;
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
