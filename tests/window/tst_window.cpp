// The window on the offscreen platform, with a fake link, a manual Timer1 and the fixed clock: every
// control as laid out, one row each, the ways out, and what only the real widgets can get wrong.
#include "Appearance.h"
#include "MainForm.h"
#include "support/EngineRig.h"
#include "support/FakeLink.h"
#include "support/ManualTimer.h"
#include "support/TestClock.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace kelvane;

struct Window {
    test::FakeLink link;
    test::ManualTimer timer;
    MainForm form{link, timer, &test::fixedNow};
    template<typename T = QWidget> T *find(const QString &name) { return form.findChild<T *>(name); }
    // Shown and active, so that keys reach the window's shortcuts.
    bool show() { form.show(); return QTest::qWaitForWindowActive(&form); }
};

// Geometry in pixels, 15 twips each. font: face letter, points, b for bold. limit: the most characters
// the user can type, empty for no limit. fit 0: a fixed size; above 0: sized to its text, within fit
// pixels of the layout's size; -1: sized to a text other than the layout's.
struct Row { const char *name, *cls, *box; QRect at; const char *text, *tip, *font, *limit; int on, fit; };
const QHash<QString, QString> faces{{"AR PL UMing CN", "S"}, {"Liberation Sans", "A"}, {"Carlito", "C"}};
constexpr auto Win = "MainForm", Uart = "UART_Control", Eth = "Ethernet_Control", Pppoe = "Set_PPPOE";

const Row table[] = {
    {"Scan", "QPushButton", Win, {49, 16, 100, 33}, "扫描设备", "", "A10.5b", "", 1, 0},
    {"L_Default", "QPushButton", Win, {452, 413, 67, 33}, "默认值", "", "S9b", "", 0, 0},
    {"Setting", "QPushButton", Win, {528, 413, 67, 33}, "设置", "", "S9b", "", 0, 0},
    {"Run_Device", "QPushButton", Win, {490, 453, 67, 33}, "运行", "运行当前选择的模块", "A9b", "", 0, 0},
    {"Exit_Command", "QPushButton", Win, {479, 500, 90, 40}, "退  出", "", "A10.5b", "", 1, 0},
    {"UART_Control", "QGroupBox", Win, {193, 8, 401, 133}, "串行通道参数", "", "S9b", "", 0, 0},
    {"Ethernet_Control", "QGroupBox", Win, {193, 150, 401, 161}, "网络通道参数", "", "S9b", "", 0, 0},
    {"Set_PPPOE", "QGroupBox", Win, {193, 317, 401, 87}, "运行设置", "", "S9b", "", 0, 0},
    {"Frame1", "QGroupBox", Win, {9, 413, 437, 116}, "提示信息", "", "S9", "", 1, 0},
    {"Set_Baud_Rate", "QComboBox", Uart, {88, 23, 93, 20}, "", "选择异步通信的波特率", "S9", "", 1, 0},
    {"Set_Stream_Control", "QComboBox", Uart, {296, 23, 80, 20}, "", "选择异步通信数据流的控制方式", "S9", "", 1, 0},
    {"Set_Bits", "QComboBox", Uart, {88, 50, 80, 20}, "",
     "选择异步通信数据位长度，然后按“设置”键确认。一般使用8个位的字节数据", "S9", "", 1, 0},
    {"Set_Parity", "QComboBox", Uart, {88, 77, 80, 20}, "", "选择异步通信数据的校验方式", "S9", "", 1, 0},
    {"Set_Stopbit", "QComboBox", Uart, {88, 103, 80, 20}, "", "选择异步通信数据的停止位的位数", "S9", "", 1, 0},
    {"Disp_Mode", "QComboBox", Uart, {296, 103, 80, 20}, "", "不显示、兼容模式和正常显示模式", "S9", "", 1, 0},
    {"Socket_Mode", "QComboBox", Eth, {88, 101, 96, 20}, "", "选择端口的工作模式", "S9", "", 1, 0},
    {"Ethernet_Mode", "QComboBox", Eth, {88, 131, 140, 20}, "", "选择以太网的工作模式", "S9", "", 1, 0},
    {"Set_Time_Delimiter", "QLineEdit", Uart, {296, 50, 31, 21}, "", "设置时间分割参数", "S9", "4", 1, 0},
    {"Set_Byte_Delimiter", "QLineEdit", Uart, {296, 77, 31, 21}, "", "设置字节分割参数", "S9", "4", 1, 0},
    {"G_IP", "QLineEdit", Eth, {88, 20, 96, 21}, "", "设置模块所在子网的网关IP地址", "S9", "15", 1, 0},
    {"MASK", "QLineEdit", Eth, {296, 20, 96, 21}, "", "设置模块所在子网的子网掩码值", "S9", "15", 1, 0},
    {"S_IP", "QLineEdit", Eth, {88, 47, 96, 21}, "", "设置模块的IP地址", "S9", "15", 1, 0},
    {"Port_Number", "QLineEdit", Eth, {296, 47, 40, 21}, "", "设置工作端口的端口号", "S9", "5", 1, 0},
    {"D_IP", "QLineEdit", Eth, {88, 73, 96, 21}, "", "设置目的IP地址", "S9", "15", 1, 0},
    {"D_Port", "QLineEdit", Eth, {296, 73, 40, 21}, "", "设置目的端口号", "S9", "5", 1, 0},
    {"User_ID", "QLineEdit", Pppoe, {217, 20, 173, 21}, "", "设置网络用户的用户名", "S9", "31", 0, 0},
    {"User_Password", "QLineEdit", Pppoe, {217, 55, 173, 21}, "", "设置网络用户的密码", "S9", "31", 0, 0},
    {"Direct", "QRadioButton", Pppoe, {8, 21, 100, 17}, "直接启动运行", "", "S9", "", 1, 0},
    {"PPPOE", "QRadioButton", Pppoe, {8, 41, 160, 17}, "启动PPPoE建立网络连接", "", "A9", "", 1, 0},
    {"DHCP", "QRadioButton", Pppoe, {8, 62, 153, 17}, "启动DHCP获取网络参数", "", "A9", "", 1, 0},
    {"Label14", "QLabel", Uart, {16, 27, 36, 15}, "波特率", "", "A9", "", 1, 6},
    {"Label15", "QLabel", Uart, {16, 53, 36, 15}, "数据位", "", "A9", "", 1, 6},
    {"Label16", "QLabel", Uart, {16, 80, 60, 15}, "奇偶校验位", "", "A9", "", 1, 6},
    {"Label17", "QLabel", Uart, {16, 107, 36, 15}, "停止位", "", "A9", "", 1, 6},
    {"Label13", "QLabel", Uart, {224, 27, 60, 15}, "数据流控制", "", "A9", "", 1, 6},
    {"Label11", "QLabel", Uart, {224, 53, 48, 15}, "时间分割", "", "A9", "", 1, 6},
    {"Label12", "QLabel", Uart, {224, 80, 48, 15}, "字节分割", "", "A9", "", 1, 6},
    {"Label18", "QLabel", Uart, {224, 107, 48, 15}, "显示模式", "", "A9", "", 1, 6},
    {"Label7", "QLabel", Eth, {16, 23, 59, 15}, "网关IP地址", "", "A9", "", 1, 6},
    {"Label8", "QLabel", Eth, {224, 23, 48, 15}, "子网掩码", "", "A9", "", 1, 6},
    {"Label9", "QLabel", Eth, {16, 49, 59, 15}, "本机IP地址", "", "A9", "", 1, 6},
    {"Label10", "QLabel", Eth, {224, 49, 65, 17}, "本机端口号", "", "A9", "", 1, 0},
    {"Label4", "QLabel", Eth, {16, 74, 59, 15}, "目的IP地址", "", "A9", "", 1, 6},
    {"Label6", "QLabel", Eth, {224, 74, 60, 15}, "目的端口号", "", "A9", "", 1, 6},
    {"Label3", "QLabel", Eth, {16, 104, 48, 15}, "端口模式", "", "A9", "", 1, 6},
    {"Label2", "QLabel", Eth, {16, 133, 60, 15}, "以太网模式", "", "A9", "", 1, 6},
    {"Label19:0", "QLabel", Pppoe, {177, 24, 36, 15}, "用户名", "", "A9", "", 1, 6},
    {"Label19:1", "QLabel", Pppoe, {187, 56, 24, 15}, "密码", "", "A9", "", 1, 6},
    {"DISP_IP", "QLabel", Win, {153, 533, 14, 15}, "本机IP地址：192.0.2.1    端口号： 65002", "eth0：192.0.2.1", "A9", "", 1, -1},
    {"Label1", "QLabel", Win, {492, 547, 67, 15}, "Version: 3.0", "", "A9b", "", 1, 6},
    {"Label5", "QLabel", Win, {152, 550, 176, 14}, "Website: www.kelvane.example", "", "C9b", "", 1, -1},
    {"Help_Text", "QPlainTextEdit", "Frame1", {8, 16, 421, 93}, "", "", "A8.25", "", 1, 0},
    {"Device_List", "QListWidget", Win, {9, 64, 177, 340}, "", "", "A10.5", "", 1, 0},
    {"Image1", "QLabel", Win, {9, 533, 128, 28}, "", "", "", "", 1, 0},
};

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void control_data()
    {
        QTest::addColumn<const Row *>("r");
        for (const Row &row : table)
            QTest::newRow(row.name) << &row;
    }

    void control()
    {
        QFETCH(const Row *, r);
        Window w;
        const QStringList id = QString(r->name).split(':');  // Label19:1 is the Label19 with index 1
        QWidget *c = w.form.findChildren<QWidget *>(id[0]).value(id.value(1).toInt());
        QVERIFY(c && c->property("index").toString() == id.value(1));
        QCOMPARE(c->geometry(), r->fit ? QRect(r->at.topLeft(), c->sizeHint()) : r->at);
        QVERIFY(r->fit < 0
                || qAbs(c->width() - r->at.width()) + qAbs(c->height() - r->at.height()) <= r->fit);
        const QFont f = c->font();
        const QString font = faces[f.family()] + QString::number(f.pointSizeF()) + (f.bold() ? "b" : "");
        QCOMPARE(QStringList({c->inherits(r->cls) ? r->cls : c->metaObject()->className(),
                              c->parentWidget()->objectName(), c->toolTip(), *r->font ? font : "",
                              c->property(c->inherits("QGroupBox") ? "title" : "text").toString(),
                              c->property("maxLength").toString(),
                              c->testAttribute(Qt::WA_ForceDisabled) ? "off" : ""}),
                 QStringList({r->cls, r->box, r->tip, r->font, r->text, r->limit, r->on ? "" : "off"}));
    }

    void exit_data()
    {
        QTest::addColumn<QString>("road");
        QTest::addColumn<bool>("ok");
        for (QString road : {"Exit_Command", "Esc", "close box"})
            for (bool ok : {true, false})
                QTest::addRow("%s, %s", qPrintable(road), ok ? "OK" : "Cancel") << road << ok;
    }

    void exit()
    {
        QFETCH(QString, road);
        QFETCH(bool, ok);
        Window w;
        QVERIFY(w.show());
        QString asked;
        QStringList buttons;
        QTimer::singleShot(0, &w.form, [&] {  // inside the question's own event loop
            QWidget *box = QApplication::activeModalWidget();
            QVERIFY(box);
            asked = box->windowTitle() + ' ' + box->property("text").toString();
            QList<QPushButton *> shown = box->findChildren<QPushButton *>();
            std::sort(shown.begin(), shown.end(), [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
            for (QPushButton *button : shown)
                buttons << button->text().remove('&');
            QTest::keyClick(box, ok ? Qt::Key_Return : Qt::Key_Escape);  // its default and escape buttons
        });
        road == "Exit_Command" ? QTest::mouseClick(w.find("Exit_Command"), Qt::LeftButton)
            : road == "Esc" ? QTest::keyClick(&w.form, Qt::Key_Escape) : void(w.form.windowHandle()->close());
        QCOMPARE(asked, "退出 确认退出配置系统！");
        QCOMPARE(buttons, (QStringList{"确定", "取消"}));
        QCOMPARE(w.link.sent, QByteArrayList(ok, QByteArray::fromHex("FFFFFFFFFFFF454E44")));
        QTRY_VERIFY(!w.form.isVisible());
    }

    // The highlighted module is the one read, however the operator chose it,
    // and the focus comes back to the list, so Enter then writes.
    void choosingAModule()
    {
        Window w;
        QVERIFY(w.show());
        auto *list = w.find<QListWidget>("Device_List");
        QTest::mouseClick(w.find("Scan"), Qt::LeftButton);
        for (int i = 1; i <= 3; ++i)
            w.link.deliver(QByteArray::fromHex("0011223344") + char(i));
        while (w.timer.fire()) {
        }
        const auto rowCentre = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
        const auto module = [](int i) { return QByteArray::fromHex("0011223344") + char(i); };

        // Pressed on module 1, released on module 2.
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
        QMouseEvent move(QEvent::MouseMove, rowCentre(1), list->viewport()->mapToGlobal(rowCentre(1)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
        QCOMPARE(w.form.selectedDeviceRow(), 1);
        QCOMPARE(w.link.sent.mid(4), QByteArrayList{module(2) + "ATUB\r"});
        QCOMPARE(w.form.logText(), "2026-12-06 09:05:07\r\n读取设备 2参数... ...");
        QVERIFY(!list->isEnabled());

        for (const QByteArray &answer : test::Answers)
            w.link.deliver(module(2) + answer);
        QVERIFY(w.form.logText().endsWith("读取设备 2参数成功！"));
        QCOMPARE(QApplication::focusWidget(), list);

        // The key moves the highlight, and the read follows it.
        w.link.sent.clear();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(w.form.selectedDeviceRow(), 2);
        QCOMPARE(w.link.sent, QByteArrayList{module(3) + "ATUB\r"});
        for (const QByteArray &answer : test::Answers)
            w.link.deliver(module(3) + answer);
        QCOMPARE(QApplication::focusWidget(), list);

        // Enter now is the default button's: a write of module 3, no scan.
        w.link.sent.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(w.link.sent, QByteArrayList{module(3) + "ATUB=3\r"});
    }

    // A session on the real widgets: the focus order, a scan, a click that reads, then the panel calls
    // whose effect on real widgets the engine relies on, and Enter.
    void session()
    {
        Window w;
        auto *list = w.find<QListWidget>("Device_List");
        QStringList chain{"Device_List"};  // the inner parts of combo boxes and scroll areas have no name
        for (QWidget *at = list->nextInFocusChain(); at != list; at = at->nextInFocusChain())
            chain << (at->focusPolicy() & Qt::TabFocus ? at->objectName() : "");
        QCOMPARE(chain.join(' ').simplified(), "Device_List Scan Set_Baud_Rate Set_Stream_Control Set_Bits "
                 "Set_Time_Delimiter Set_Parity Set_Byte_Delimiter Set_Stopbit Disp_Mode G_IP MASK S_IP "
                 "Port_Number D_IP D_Port Socket_Mode Ethernet_Mode Direct PPPOE DHCP L_Default Setting "
                 "Run_Device Exit_Command Help_Text User_ID User_Password");

        QVERIFY(w.show());
        // A closed frame blocks its children, which keep their own setting for when it opens.
        QVERIFY(w.form.isEnabled(Control::Set_Baud_Rate) && !w.find("Set_Baud_Rate")->isEnabled());
        QTest::mouseClick(w.find("Scan"), Qt::LeftButton);
        w.link.deliver(QByteArray::fromHex("001A2B3C4D5E") + "KV-100 3.0\r\n");
        QVERIFY(w.timer.fire() && w.timer.fire() && w.timer.fire() && w.timer.fire());
        QCOMPARE(w.form.deviceText(0), "设备 ( 001A2B3C4D5E )");
        // The frames open; the user boxes stay locked.
        for (QString name : {"UART_Control", "Ethernet_Control", "Set_PPPOE", "User_ID", "User_Password"})
            QVERIFY2(w.find(name)->isEnabled() != name.startsWith("User"), qPrintable(name));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        // One read, after the four discovery requests.
        QCOMPARE(w.link.sent.mid(4), QByteArrayList{QByteArray::fromHex("001A2B3C4D5E") + "ATUB\r"});

        // Out of range changes nothing; typed on after the item, the text is no item any more.
        const Control baud = Control::Set_Baud_Rate;
        QVERIFY(w.form.selectIndex(baud, 3) && !w.form.selectIndex(baud, 10));
        QTest::keyClicks(w.find("Set_Baud_Rate"), "0");
        QCOMPARE(w.form.text(baud) + QString::number(w.form.selectedIndex(baud)), "9600bps0-1");
        QTest::keyClicks(w.find("G_IP"), "1");
        QTest::sendKeyEvent(QTest::Click, w.find("G_IP"), Qt::Key_unknown, QString("中"), Qt::NoModifier);
        QCOMPARE(w.form.text(Control::G_IP), "1");
        list->addItems({"a", "b"});
        w.form.removeDevice(0);  // the selected one; the view would hand the selection on to a neighbour
        QCOMPARE(w.form.selectedDeviceRow(), -1);
        w.form.replaceLog("a\r\nb");
        w.form.appendLog("c\r\nd");
        QCOMPARE(w.form.logText(), "a\r\nb\r\nc\r\nd");
        w.form.setChecked(Control::DHCP, true);
        w.form.setChecked(Control::DHCP, false);  // which an exclusive group refuses
        QVERIFY(!w.form.isChecked(Control::DHCP));

        w.form.setEnabled(Control::Setting, true);
        QSignalSpy setting(w.find<QPushButton>("Setting"), &QPushButton::clicked);
        w.find("G_IP")->setFocus();
        QTest::keyClick(w.find("G_IP"), Qt::Key_Return);
        QCOMPARE(setting.count(), 1);
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
