// The window as it opens: the start entry, the address display, the locked
// controls, the loaded choice lists, and what happens when the port is taken.
#include "WindowFixture.h"

#include "protocol/Catalogue.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>

using namespace kelvane;
using namespace kelvane::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void startEntry();
    void addressDisplay();
    void lockedControls_data();
    void lockedControls();
    void disabledFramesTakeNoInput_data();
    void disabledFramesTakeNoInput();
    void userBoxesStayLocked();
    void nothingSent();
    void portTaken();
};

void StartupTest::startEntry()
{
    Window w;
    const QString expected = QString::fromLatin1(FixedStamp) + QStringLiteral(
        "\r\n在使用本工具扫描设备之前，请确保所有的设备都在同一个物理局域网内，没有经过路由器隔离。"
        "\r\n请先扫描网络中的设备，然后读取指定设备的参数，并可对每一个设备的参数进行修改。"
        "\r\n扫描设备的过程可能需要几秒钟的时间。");
    QCOMPARE(w.form->logText(), expected);
    // What the pane shows: four lines, the last one not ended.
    auto *pane = w.find<QPlainTextEdit>("Help_Text");
    QCOMPARE(pane->document()->blockCount(), 4);
    QCOMPARE(pane->document()->lastBlock().text(), QStringLiteral("扫描设备的过程可能需要几秒钟的时间。"));
}

void StartupTest::addressDisplay()
{
    Window w;
    auto *label = w.find<QLabel>("DISP_IP");
    QCOMPARE(label->text(), QStringLiteral("本机IP地址：192.0.2.1    端口号： 65002"));
    // Grown to the right from where the placeholder stood, on one line, whole.
    QCOMPARE(label->pos(), QPoint(153, 533));
    QVERIFY(!label->wordWrap());
    QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
    QVERIFY(label->width() > 14);

    // A shorter text shrinks it again, still from the same left edge.
    w.form->setAddressDisplay(QStringLiteral("12"));
    QCOMPARE(label->pos(), QPoint(153, 533));
    QVERIFY(label->width() < 30);
}

void StartupTest::lockedControls_data()
{
    QTest::addColumn<Control>("control");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("Scan") << Control::Scan << true;
    QTest::newRow("Device_List") << Control::Device_List << true;
    QTest::newRow("Exit_Command") << Control::Exit_Command << true;
    QTest::newRow("L_Default") << Control::L_Default << false;
    QTest::newRow("Setting") << Control::Setting << false;
    QTest::newRow("Run_Device") << Control::Run_Device << false;
    QTest::newRow("UART_Control") << Control::UART_Control << false;
    QTest::newRow("Ethernet_Control") << Control::Ethernet_Control << false;
    QTest::newRow("Set_PPPOE") << Control::Set_PPPOE << false;
    QTest::newRow("User_ID") << Control::User_ID << false;
    QTest::newRow("User_Password") << Control::User_Password << false;
    // Enabled themselves, inside a locked frame.
    QTest::newRow("Set_Baud_Rate") << Control::Set_Baud_Rate << true;
    QTest::newRow("S_IP") << Control::S_IP << true;
    QTest::newRow("Direct") << Control::Direct << true;
}

void StartupTest::lockedControls()
{
    QFETCH(Control, control);
    QFETCH(bool, enabled);

    Window w;
    QCOMPARE(w.form->isEnabled(control), enabled);
    QWidget *widget = w.find(controlName(control));
    const bool inOpenWindow = control == Control::Scan || control == Control::Device_List ||
                              control == Control::Exit_Command;
    // Usable only where nothing around it is locked either.
    QCOMPARE(widget->isEnabled(), inOpenWindow);
}

void StartupTest::disabledFramesTakeNoInput_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");

    QTest::newRow("text box") << "Set_Time_Delimiter" << "12";
    QTest::newRow("combo box") << "Set_Baud_Rate" << "9600bps";
    QTest::newRow("network box") << "G_IP" << "10.0.0.1";
}

void StartupTest::disabledFramesTakeNoInput()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);

    Window w;
    QVERIFY(w.showActive());
    const Control control = [&] {
        for (Control c : valueControls())
            if (controlName(c) == name)
                return c;
        return Control::Scan;
    }();
    QWidget *widget = w.find(name);

    QTest::mouseClick(widget, Qt::LeftButton);
    QTest::keyClicks(widget, typed);
    QVERIFY(!widget->hasFocus());
    QCOMPARE(w.form->text(control), QString());

    // The same control takes input once its frame opens.
    w.openFrames();
    widget->setFocus();
    QTest::keyClicks(widget, typed);
    QCOMPARE(w.form->text(control), typed);
}

void StartupTest::userBoxesStayLocked()
{
    Window w;
    QVERIFY(w.showActive());
    w.openFrames();
    for (const char *name : {"User_ID", "User_Password"}) {
        auto *box = w.find<QLineEdit>(QLatin1String(name));
        QVERIFY(!box->isEnabled());
        QTest::keyClicks(box, QStringLiteral("user"));
        QCOMPARE(box->text(), QString());
    }
    // The option buttons come back with their frame.
    QVERIFY(w.find("Direct")->isEnabled());
}

void StartupTest::nothingSent()
{
    Window w;
    QVERIFY(w.showActive());
    QVERIFY(w.link.isOpen());
    QVERIFY(w.link.sent.isEmpty());
    QVERIFY(!w.timer.isActive());
}

void StartupTest::portTaken()
{
    Window w(true);
    QVERIFY(w.showActive());
    QVERIFY(w.form->isVisible());
    const QStringList lines = w.form->logText().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 4 + 1 + 2);
    QCOMPARE(lines.at(5), QStringLiteral("无法打开本地UDP端口 65002：Address in use"));
    QCOMPARE(w.form->isEnabled(Control::Scan), true);
    QVERIFY(w.link.sent.isEmpty());
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
