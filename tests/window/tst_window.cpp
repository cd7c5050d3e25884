// SPDX-License-Identifier: Apache-2.0
// The window on the offscreen platform, with a fake link, a manual Timer1 and the fixed clock: a control
// of each kind and font as laid out, the ways out, and what only the real widgets can get wrong.
#include "Appearance.h"
#include "support/WindowRig.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

using namespace kelvane;
using test::addr;
using test::WindowRig;

// Geometry in pixels, 15 twips each. font: face letter, points, b for bold. limit: the most characters
// the user can type, empty for no limit. fit 0: a fixed size; above 0: sized to its text, within fit
// pixels of the layout's size; -1: sized to a text other than the layout's.
struct Row { const char *name, *cls, *box; QRect at; const char *text, *tip, *font, *limit; int on, fit; };
const QHash<QString, QString> faces{{"AR PL UMing CN", "S"}, {"Liberation Sans", "A"}, {"Carlito", "C"}};
constexpr auto Win = "MainForm", Uart = "UART_Control", Eth = "Ethernet_Control", Pppoe = "Set_PPPOE";

const Row table[] = {
    {"Scan", "QPushButton", Win, {49, 16, 100, 33}, "扫描设备", "", "A10.5b", "", 1, 0},
    {"L_Default", "QPushButton", Win, {452, 413, 67, 33}, "默认值", "", "S9b", "", 0, 0},
    {"Run_Device", "QPushButton", Win, {490, 453, 67, 33}, "运行", "运行当前选择的模块", "A9b", "", 0, 0},
    {"Set_PPPOE", "QGroupBox", Win, {193, 317, 401, 87}, "运行设置", "", "S9b", "", 0, 0},
    {"Set_Baud_Rate", "QComboBox", Uart, {88, 23, 93, 20}, "", "选择异步通信的波特率", "S9", "", 1, 0},
    {"G_IP", "QLineEdit", Eth, {88, 20, 96, 21}, "", "设置模块所在子网的网关IP地址", "S9", "15", 1, 0},
    {"User_ID", "QLineEdit", Pppoe, {217, 20, 173, 21}, "", "设置网络用户的用户名", "S9", "31", 0, 0},
    {"PPPOE", "QRadioButton", Pppoe, {8, 41, 160, 17}, "启动PPPoE建立网络连接", "", "A9", "", 1, 0},
    {"Label14", "QLabel", Uart, {16, 27, 36, 15}, "波特率", "", "A9", "", 1, 6},
    {"Label10", "QLabel", Eth, {224, 49, 65, 17}, "本机端口号", "", "A9", "", 1, 0},
    {"Label19:1", "QLabel", Pppoe, {187, 56, 24, 15}, "密码", "", "A9", "", 1, 6},
    {"DISP_IP", "QLabel", Win, {153, 533, 14, 15}, "本机IP地址：192.0.2.1    端口号： 65002", "eth0：192.0.2.1", "A9", "", 1, -1},
    {"Label5", "QLabel", Win, {152, 550, 176, 14}, "Website: www.kelvane.example", "", "C9b", "", 1, -1},
    {"Help_Text", "QPlainTextEdit", "Frame1", {8, 16, 421, 93}, "", "", "A8.25", "", 1, 0},
    {"Device_List", "QListWidget", Win, {9, 64, 177, 340}, "", "", "A10.5", "", 1, 0},
};

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    // Kind, frame, captions, typing limit, own setting at start-up, font and place of each control.
    void control_data()
    {
        QTest::addColumn<const Row *>("r");
        for (const Row &row : table)
            QTest::newRow(row.name) << &row;
    }

    void control()
    {
        QFETCH(const Row *, r);
        WindowRig w;
        // "Label19:1" is the Label19 with index 1.
        const QStringList id = QString(r->name).split(':');
        QWidget *c = w.form.findChildren<QWidget *>(id[0]).value(id.value(1).toInt());
        QVERIFY(c);
        QVERIFY2(c->inherits(r->cls), c->metaObject()->className());
        QCOMPARE(c->parentWidget()->objectName(), QString(r->box));
        QCOMPARE(c->property("index").toString(), id.value(1));
        const char *caption = c->inherits("QGroupBox") ? "title" : "text";
        QCOMPARE(c->property(caption).toString(), QString(r->text));
        QCOMPARE(c->toolTip(), QString(r->tip));
        QCOMPARE(c->property("maxLength").toString(), QString(r->limit));
        // A closed frame still blocks what it holds.
        QCOMPARE(!c->testAttribute(Qt::WA_ForceDisabled), bool(r->on));
        // As the table writes it: "A10.5b".
        const QFont font = c->font();
        const QString code = faces.value(font.family()) + QString::number(font.pointSizeF());
        QCOMPARE(font.bold() ? code + 'b' : code, QString(r->font));
        // The Latin faces have no Chinese glyphs; the Song face stands behind every one.
        QCOMPARE(c->font().families().last(), QString("AR PL UMing CN"));
        if (r->fit == 0) {
            QCOMPARE(c->geometry(), r->at);
            return;
        }
        // Sized to its text, from the laid-out left edge.
        QCOMPARE(c->geometry(), QRect(r->at.topLeft(), c->sizeHint()));
        const int off = qAbs(c->width() - r->at.width()) + qAbs(c->height() - r->at.height());
        QVERIFY2(r->fit < 0 || off <= r->fit, qPrintable(QString("%1 pixels off the layout").arg(off)));
    }

    void exit_data()
    {
        QTest::addColumn<QString>("road");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArrayList>("sent");
        const QByteArrayList exitFrame{QByteArray::fromHex("FFFFFFFFFFFF454E44")};
        QTest::newRow("Exit_Command, OK: exit frame") << "Exit_Command" << true << exitFrame;
        QTest::newRow("Esc, Cancel: nothing sent") << "Esc" << false << QByteArrayList();
        QTest::newRow("close box, OK: exit frame") << "close box" << true << exitFrame;
    }

    void exit()
    {
        QFETCH(QString, road);
        QFETCH(bool, ok);
        QFETCH(QByteArrayList, sent);
        WindowRig w;
        QVERIFY(w.show());
        // The question's default and escape buttons.
        QStringList seen;
        test::answerNextModal(&w.form, seen, ok ? Qt::Key_Return : Qt::Key_Escape);
        if (road == "Exit_Command")
            w.click("Exit_Command");
        else if (road == "Esc")
            QTest::keyClick(&w.form, Qt::Key_Escape);
        else
            w.form.windowHandle()->close();
        QCOMPARE(seen, (QStringList{"退出", "确认退出配置系统！", "确定", "取消"}));
        QCOMPARE(w.link.sent, sent);
        QTRY_VERIFY(!w.form.isVisible());
    }

    // The highlighted module is the one read, however the operator chose it. The read takes the focus
    // from the list while it runs and gives it back: the arrow key then reads the next module, and
    // Enter, the default button's key, writes the module read and scans nothing. A module removed
    // takes the selection with it. A closed frame blocks its children, which keep their own setting
    // (see control()); the scan opens the frames, the user boxes stay locked.
    void listChoosesTheModule()
    {
        WindowRig w;
        QVERIFY(w.show());
        QVERIFY(!w.find("Set_Baud_Rate")->isEnabled());
        w.scan(3);
        QList<bool> open;
        for (const char *name : {"UART_Control", "Ethernet_Control", "Set_PPPOE", "Set_Baud_Rate", "User_ID"})
            open << w.find(name)->isEnabled();
        QCOMPARE(open, (QList<bool>{true, true, true, true, false}));
        QListWidget *list = w.list();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, w.rowCentre(0));
        QMouseEvent move(QEvent::MouseMove, w.rowCentre(1), list->viewport()->mapToGlobal(w.rowCentre(1)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, w.rowCentre(1));
        QCOMPARE(w.form.selectedDeviceRow(), 1);
        QCOMPARE(w.link.sent.mid(4), QByteArrayList{addr(2) + "ATUB\r"});
        QCOMPARE(w.form.logText(), "2026-12-06 09:05:07\r\n读取设备 2参数... ...");
        QVERIFY(!list->isEnabled());
        w.answerAll(2);
        QVERIFY(w.form.logText().endsWith("读取设备 2参数成功！"));
        QCOMPARE(QApplication::focusWidget(), list);
        w.link.sent.clear();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(w.form.selectedDeviceRow(), 2);
        QCOMPARE(w.link.sent, QByteArrayList{addr(3) + "ATUB\r"});
        w.answerAll(3);
        QCOMPARE(QApplication::focusWidget(), list);
        w.link.sent.clear();
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(w.link.sent, QByteArrayList{addr(3) + "ATUB=3\r"});
        // The view would hand the selection on to a neighbour.
        w.form.removeDevice(2);
        QCOMPARE(w.form.selectedDeviceRow(), -1);
    }

    // A list's index past its end changes nothing; typed on after the item, its text is no item any
    // more. A text box takes single-byte characters only, and Enter in it clicks Setting.
    void typing()
    {
        WindowRig w;
        QVERIFY(w.show());
        w.form.setEnabled(Control::UART_Control, true);
        w.form.setEnabled(Control::Ethernet_Control, true);
        w.form.setEnabled(Control::Setting, true);
        const Control baud = Control::Set_Baud_Rate;
        QVERIFY(w.form.selectIndex(baud, 3));
        QVERIFY(!w.form.selectIndex(baud, 10));
        QCOMPARE(w.form.selectedIndex(baud), 3);
        QCOMPARE(w.form.text(baud), "9600bps");
        QTest::keyClicks(w.find("Set_Baud_Rate"), "0");
        QCOMPARE(w.form.text(baud), "9600bps0");
        QCOMPARE(w.form.selectedIndex(baud), -1);

        QSignalSpy setting(w.find<QPushButton>("Setting"), &QPushButton::clicked);
        QWidget *box = w.find("G_IP");
        box->setFocus();
        QTest::keyClicks(box, "1");
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString("中"), Qt::NoModifier);
        QCOMPARE(w.form.text(Control::G_IP), "1");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(setting.count(), 1);
    }

    // The log's lines break at CR LF; the start mode unchecks, where an exclusive group would refuse.
    void logAndStartMode()
    {
        WindowRig w;
        w.form.replaceLog("a\r\nb");
        w.form.appendLog("c\r\nd");
        QCOMPARE(w.form.logText(), "a\r\nb\r\nc\r\nd");
        w.form.setChecked(Control::DHCP, true);
        w.form.setChecked(Control::DHCP, false);
        QVERIFY(!w.form.isChecked(Control::DHCP));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication();
    WindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_window.moc"
