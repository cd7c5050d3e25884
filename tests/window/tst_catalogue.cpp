// Every control of the window, as laid out: kind, container, place, texts,
// font, typing limit and enabled state, one row per control.
#include "WindowFixture.h"

#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

using namespace kelvane;
using namespace kelvane::test;

namespace {

enum class Typeface { None, Song, Arial, Corbel };

struct Lettering {
    Typeface face;
    qreal pointSize;
    bool bold;
};

struct Twips {
    int left, top, width, height;
    // 15 twips a pixel.
    QRect pixels() const { return {px(left), px(top), px(width), px(height)}; }
    static int px(int twips) { return (twips + 7) / 15; }
};

enum class Fit {
    Fixed,    // the size in the layout
    Text,     // a label the size of its text, which is the text the layout was measured with
    NewText,  // a label the size of its text, which differs from the one in the layout
};

struct Row {
    const char *name;
    int index;  // the two Label19 labels, -1 for the rest
    const char *kind;
    const char *container;
    Twips place;
    const char *caption;
    const char *tooltip;
    Lettering font;
    int maxLength;  // -1 where the control has none
    bool enabled;   // its own setting once start-up is done
    Fit fit;
};

QString family(Typeface face)
{
    switch (face) {
    case Typeface::Song:
        return QStringLiteral("AR PL UMing CN");
    case Typeface::Arial:
        return QStringLiteral("Liberation Sans");
    case Typeface::Corbel:
        return QStringLiteral("Carlito");
    case Typeface::None:
        break;
    }
    return {};
}

QString captionOf(const QWidget *widget)
{
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(widget))
        return frame->title();
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    return {};
}

const Row table[] = {
    {"Scan", -1, "QPushButton", "MainForm", {740, 240, 1500, 495}, "扫描设备", "", {Typeface::Arial, 10.5, true}, -1, true, Fit::Fixed},
    {"L_Default", -1, "QPushButton", "MainForm", {6780, 6200, 1000, 500}, "默认值", "", {Typeface::Song, 9.0, true}, -1, false, Fit::Fixed},
    {"Setting", -1, "QPushButton", "MainForm", {7920, 6200, 1000, 500}, "设置", "", {Typeface::Song, 9.0, true}, -1, false, Fit::Fixed},
    {"Run_Device", -1, "QPushButton", "MainForm", {7350, 6800, 1000, 500}, "运行", "运行当前选择的模块", {Typeface::Arial, 9.0, true}, -1, false, Fit::Fixed},
    {"Exit_Command", -1, "QPushButton", "MainForm", {7180, 7500, 1350, 600}, "退  出", "", {Typeface::Arial, 10.5, true}, -1, true, Fit::Fixed},
    {"UART_Control", -1, "QGroupBox", "MainForm", {2900, 120, 6015, 1995}, "串行通道参数", "", {Typeface::Song, 9.0, true}, -1, false, Fit::Fixed},
    {"Ethernet_Control", -1, "QGroupBox", "MainForm", {2900, 2250, 6015, 2420}, "网络通道参数", "", {Typeface::Song, 9.0, true}, -1, false, Fit::Fixed},
    {"Set_PPPOE", -1, "QGroupBox", "MainForm", {2900, 4750, 6015, 1300}, "运行设置", "", {Typeface::Song, 9.0, true}, -1, false, Fit::Fixed},
    {"Frame1", -1, "QGroupBox", "MainForm", {140, 6200, 6555, 1740}, "提示信息", "", {Typeface::Song, 9.0, false}, -1, true, Fit::Fixed},
    {"Set_Baud_Rate", -1, "QComboBox", "UART_Control", {1320, 350, 1400, 300}, "", "选择异步通信的波特率", {Typeface::Song, 9.0, false}, -1, true, Fit::Fixed},
    {"Set_Stream_Control", -1, "QComboBox", "UART_Control", {4440, 350, 1200, 300}, "", "选择异步通信数据流的控制方式", {Typeface::Song, 9.0, false}, -1, true, Fit::Fixed},
    {"Set_Bits", -1, "QComboBox", "UART_Control", {1320, 750, 1200, 300}, "", "选择异步通信数据位长度，然后按“设置”键确认。一般使用8个位的字节数据", {Typeface::Song, 9.0, false}, -1, true, Fit::Fixed},
    {"Set_Parity", -1, "QComboBox", "UART_Control", {1320, 1150, 1200, 300}, "", "选择异步通信数据的校验方式", {Typeface::Song, 9.0, false}, -1, true, Fit::Fixed},
    {"Set_Stopbit", -1, "QComboBox", "UART_Control", {1320, 1550, 1200, 300}, "", "选择异步通信数据的停止位的位数", {Typeface::Song, 9.0, false}, -1, true, Fit::Fixed},
    {"Disp_Mode", -1, "QComboBox", "UART_Control", {4440, 1550, 1200, 300}, "", "不显示、兼容模式和正常显示模式", {Typeface::Song, 9.0, false}, -1, true, Fit::Fixed},
    {"Socket_Mode", -1, "QComboBox", "Ethernet_Control", {1320, 1510, 1440, 300}, "", "选择端口的工作模式", {Typeface::Song, 9.0, false}, -1, true, Fit::Fixed},
    {"Ethernet_Mode", -1, "QComboBox", "Ethernet_Control", {1320, 1960, 2100, 300}, "", "选择以太网的工作模式", {Typeface::Song, 9.0, false}, -1, true, Fit::Fixed},
    {"Set_Time_Delimiter", -1, "QLineEdit", "UART_Control", {4440, 750, 460, 310}, "", "设置时间分割参数", {Typeface::Song, 9.0, false}, 4, true, Fit::Fixed},
    {"Set_Byte_Delimiter", -1, "QLineEdit", "UART_Control", {4440, 1150, 460, 310}, "", "设置字节分割参数", {Typeface::Song, 9.0, false}, 4, true, Fit::Fixed},
    {"G_IP", -1, "QLineEdit", "Ethernet_Control", {1320, 300, 1440, 310}, "", "设置模块所在子网的网关IP地址", {Typeface::Song, 9.0, false}, 15, true, Fit::Fixed},
    {"MASK", -1, "QLineEdit", "Ethernet_Control", {4440, 300, 1440, 310}, "", "设置模块所在子网的子网掩码值", {Typeface::Song, 9.0, false}, 15, true, Fit::Fixed},
    {"S_IP", -1, "QLineEdit", "Ethernet_Control", {1320, 700, 1440, 310}, "", "设置模块的IP地址", {Typeface::Song, 9.0, false}, 15, true, Fit::Fixed},
    {"Port_Number", -1, "QLineEdit", "Ethernet_Control", {4440, 700, 600, 310}, "", "设置工作端口的端口号", {Typeface::Song, 9.0, false}, 5, true, Fit::Fixed},
    {"D_IP", -1, "QLineEdit", "Ethernet_Control", {1320, 1100, 1440, 310}, "", "设置目的IP地址", {Typeface::Song, 9.0, false}, 15, true, Fit::Fixed},
    {"D_Port", -1, "QLineEdit", "Ethernet_Control", {4440, 1100, 600, 310}, "", "设置目的端口号", {Typeface::Song, 9.0, false}, 5, true, Fit::Fixed},
    {"User_ID", -1, "QLineEdit", "Set_PPPOE", {3250, 300, 2600, 310}, "", "设置网络用户的用户名", {Typeface::Song, 9.0, false}, 31, false, Fit::Fixed},
    {"User_Password", -1, "QLineEdit", "Set_PPPOE", {3250, 820, 2600, 310}, "", "设置网络用户的密码", {Typeface::Song, 9.0, false}, 31, false, Fit::Fixed},
    {"Direct", -1, "QRadioButton", "Set_PPPOE", {120, 310, 1500, 255}, "直接启动运行", "", {Typeface::Song, 9.0, false}, -1, true, Fit::Fixed},
    {"PPPOE", -1, "QRadioButton", "Set_PPPOE", {120, 620, 2400, 255}, "启动PPPoE建立网络连接", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Fixed},
    {"DHCP", -1, "QRadioButton", "Set_PPPOE", {120, 930, 2300, 255}, "启动DHCP获取网络参数", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Fixed},
    {"Label14", -1, "QLabel", "UART_Control", {240, 405, 540, 225}, "波特率", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label15", -1, "QLabel", "UART_Control", {240, 795, 540, 225}, "数据位", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label16", -1, "QLabel", "UART_Control", {240, 1200, 900, 225}, "奇偶校验位", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label17", -1, "QLabel", "UART_Control", {240, 1605, 540, 225}, "停止位", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label13", -1, "QLabel", "UART_Control", {3360, 400, 900, 225}, "数据流控制", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label11", -1, "QLabel", "UART_Control", {3360, 800, 720, 225}, "时间分割", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label12", -1, "QLabel", "UART_Control", {3360, 1200, 720, 225}, "字节分割", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label18", -1, "QLabel", "UART_Control", {3360, 1600, 720, 225}, "显示模式", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label7", -1, "QLabel", "Ethernet_Control", {240, 350, 885, 225}, "网关IP地址", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label8", -1, "QLabel", "Ethernet_Control", {3360, 350, 720, 225}, "子网掩码", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label9", -1, "QLabel", "Ethernet_Control", {240, 730, 885, 225}, "本机IP地址", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label10", -1, "QLabel", "Ethernet_Control", {3360, 730, 975, 255}, "本机端口号", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Fixed},
    {"Label4", -1, "QLabel", "Ethernet_Control", {240, 1110, 885, 225}, "目的IP地址", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label6", -1, "QLabel", "Ethernet_Control", {3360, 1110, 900, 225}, "目的端口号", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label3", -1, "QLabel", "Ethernet_Control", {240, 1560, 720, 225}, "端口模式", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label2", -1, "QLabel", "Ethernet_Control", {240, 2000, 900, 225}, "以太网模式", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label19", 0, "QLabel", "Set_PPPOE", {2650, 360, 540, 225}, "用户名", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"Label19", 1, "QLabel", "Set_PPPOE", {2800, 840, 360, 225}, "密码", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::Text},
    {"DISP_IP", -1, "QLabel", "MainForm", {2295, 8000, 210, 225}, "本机IP地址：192.0.2.1    端口号： 65002", "", {Typeface::Arial, 9.0, false}, -1, true, Fit::NewText},
    {"Label1", -1, "QLabel", "MainForm", {7380, 8205, 1005, 225}, "Version: 3.0", "", {Typeface::Arial, 9.0, true}, -1, true, Fit::Text},
    {"Label5", -1, "QLabel", "MainForm", {2280, 8250, 2640, 210}, "Website: www.kelvane.example", "", {Typeface::Corbel, 9.0, true}, -1, true, Fit::NewText},
    {"Help_Text", -1, "QPlainTextEdit", "Frame1", {120, 240, 6315, 1400}, "", "", {Typeface::Arial, 8.25, false}, -1, true, Fit::Fixed},
    {"Device_List", -1, "QListWidget", "MainForm", {140, 960, 2650, 5100}, "", "", {Typeface::Arial, 10.5, false}, -1, true, Fit::Fixed},
    {"Image1", -1, "QLabel", "MainForm", {140, 8000, 1920, 420}, "", "", {Typeface::None, 0, false}, -1, true, Fit::Fixed},
};

void row(const Row &r)
{
    const QString tag = r.index < 0 ? QString::fromUtf8(r.name)
                                    : QStringLiteral("%1[%2]").arg(QString::fromUtf8(r.name)).arg(r.index);
    QTest::newRow(qPrintable(tag)) << r.name << r.index << r.kind << r.container << r.place.pixels()
                                   << QString::fromUtf8(r.caption) << QString::fromUtf8(r.tooltip) << family(r.font.face)
                                   << r.font.pointSize << r.font.bold << r.maxLength << r.enabled << r.fit;
}

}  // namespace

class CatalogueTest : public QObject {
    Q_OBJECT
private slots:
    void control_data();
    void control();
    void everyNamedControlIsListed();
    void window();
    void focusOrder();
    void tabSkipsWhatIsDisabled();
    void colours_data();
    void colours();
    void drawnColours();
    void pictures();
};

void CatalogueTest::control_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<Fit>("fit");

    for (const Row &r : table)
        row(r);
}

void CatalogueTest::control()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, kind);
    QFETCH(QString, container);
    QFETCH(QRect, place);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    QFETCH(QString, family);
    QFETCH(qreal, pointSize);
    QFETCH(bool, bold);
    QFETCH(int, maxLength);
    QFETCH(bool, enabled);
    QFETCH(Fit, fit);

    Window w;
    QWidget *widget = nullptr;
    for (QWidget *candidate : w.form->findChildren<QWidget *>(name)) {
        if (index < 0 || candidate->property("index").toInt() == index) {
            QVERIFY2(!widget, "the name is taken twice");
            widget = candidate;
        }
    }
    QVERIFY(widget);
    QVERIFY2(widget->inherits(qPrintable(kind)), widget->metaObject()->className());
    QCOMPARE(widget->parentWidget()->objectName(), container);

    if (fit == Fit::Fixed) {
        QCOMPARE(widget->geometry(), place);
    } else {
        // Left and top as laid out; the size is the text's.
        QCOMPARE(widget->pos(), place.topLeft());
        QCOMPARE(widget->size(), widget->sizeHint());
    }
    if (fit == Fit::Text) {
        // The faces here measure close to the ones the layout was made with.
        QVERIFY2(qAbs(widget->width() - place.width()) <= 6,
                 qPrintable(QStringLiteral("width %1").arg(widget->width())));
        QVERIFY2(qAbs(widget->height() - place.height()) <= 3,
                 qPrintable(QStringLiteral("height %1").arg(widget->height())));
    }

    QCOMPARE(captionOf(widget), caption);
    QCOMPARE(widget->toolTip(), tooltip);

    if (!family.isEmpty()) {
        QCOMPARE(widget->font().families().value(0), family);
        // The face is on this machine, not a stand-in.
        QCOMPARE(QFontInfo(widget->font()).family(), family);
        QCOMPARE(widget->font().pointSizeF(), pointSize);
        QCOMPARE(widget->font().bold(), bold);
    }

    if (auto *combo = qobject_cast<QComboBox *>(widget))
        QVERIFY(combo->isEditable());
    auto *line = qobject_cast<QLineEdit *>(widget);
    QCOMPARE(line ? line->maxLength() : -1, maxLength);

    QCOMPARE(!widget->testAttribute(Qt::WA_ForceDisabled), enabled);
    QVERIFY(widget->isVisibleTo(w.form.get()));
}

void CatalogueTest::everyNamedControlIsListed()
{
    // Nothing named stands on the window that the table does not know.
    QStringList listed;
    for (const Row &r : table)
        listed << QString::fromUtf8(r.name);
    Window w;
    QStringList named;
    for (QWidget *widget : w.form->findChildren<QWidget *>()) {
        const QString name = widget->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            named << name;
    }
    listed.sort();
    named.sort();
    QCOMPARE(named, listed);
}

void CatalogueTest::window()
{
    Window w;
    MainForm &form = *w.form;
    QCOMPARE(form.objectName(), QStringLiteral("MainForm"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Kelvane网络配置工具"));
    // The client area, and it keeps that size.
    QCOMPARE(form.size(), QSize(604, 568));
    QCOMPARE(form.minimumSize(), form.maximumSize());

    const QList<QSize> sizes = form.windowIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(32, 32)));

    QVERIFY(w.showActive());
    const QPoint middle = form.screen()->availableGeometry().center();
    // The client area is centred; a window frame may shift it by its border.
    QVERIFY2((form.geometry().center() - middle).manhattanLength() <= 6, "not in the middle of the screen");
}

void CatalogueTest::focusOrder()
{
    // The order of the tab indices, for the controls that can take the focus.
    const QStringList expected = {
        "Device_List", "Scan",
        "Set_Baud_Rate", "Set_Stream_Control", "Set_Bits", "Set_Time_Delimiter",
        "Set_Parity", "Set_Byte_Delimiter", "Set_Stopbit", "Disp_Mode",
        "G_IP", "MASK", "S_IP", "Port_Number", "D_IP", "D_Port", "Socket_Mode", "Ethernet_Mode",
        "Direct", "PPPOE", "DHCP",
        "L_Default", "Setting", "Run_Device", "Exit_Command",
        "Help_Text", "User_ID", "User_Password",
    };
    Window w;
    QWidget *start = w.find("Device_List");
    QVERIFY(start);
    QStringList chain;
    QWidget *widget = start;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->parentWidget() && widget->isVisibleTo(w.form.get()))
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != start && chain.size() < 1000);
    chain.removeAll(QString());  // the inner parts of combo boxes and scroll areas
    QCOMPARE(chain, expected);

    for (const char *passive : {"Label14", "DISP_IP", "Image1", "UART_Control", "Frame1"})
        QCOMPARE(w.find(QLatin1String(passive))->focusPolicy(), Qt::NoFocus);
}

void CatalogueTest::tabSkipsWhatIsDisabled()
{
    // After start-up the frames and three buttons are locked: Tab goes round
    // the four controls that are left.
    Window w;
    QVERIFY(w.showActive());
    w.find("Device_List")->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    const QStringList expected = {"Scan", "Exit_Command", "Help_Text", "Device_List", "Scan"};
    QCOMPARE(visited, expected);
}

void CatalogueTest::colours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPalette::ColorRole>("role");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QPalette::ColorGroup>("group");

    const QColor windowColour(0xD4, 0xD0, 0xC8);
    QTest::newRow("window") << "MainForm" << QPalette::Window << windowColour << QPalette::Active;
    QTest::newRow("UART_Control caption") << "UART_Control" << QPalette::WindowText << QColor(0x40, 0x00, 0x00) << QPalette::Active;
    QTest::newRow("Ethernet_Control caption") << "Ethernet_Control" << QPalette::WindowText << QColor(0x40, 0x00, 0x00) << QPalette::Active;
    QTest::newRow("Set_PPPOE caption") << "Set_PPPOE" << QPalette::WindowText << QColor(0x40, 0x00, 0x00) << QPalette::Active;
    QTest::newRow("caption of a disabled frame") << "UART_Control" << QPalette::WindowText << QColor(0x40, 0x00, 0x00) << QPalette::Disabled;
    QTest::newRow("Frame1 caption") << "Frame1" << QPalette::WindowText << QApplication::palette().color(QPalette::WindowText) << QPalette::Active;
    QTest::newRow("label in a frame") << "Label14" << QPalette::WindowText << QApplication::palette().color(QPalette::Active, QPalette::WindowText) << QPalette::Disabled;
    QTest::newRow("option button") << "Direct" << QPalette::WindowText << QApplication::palette().color(QPalette::Active, QPalette::WindowText) << QPalette::Active;
    QTest::newRow("option button in a disabled frame") << "DHCP" << QPalette::WindowText << QColor(0x80, 0x80, 0x80) << QPalette::Disabled;
    QTest::newRow("option background") << "PPPOE" << QPalette::Window << windowColour << QPalette::Active;
    QTest::newRow("Help_Text") << "Help_Text" << QPalette::Base << QColor(0xC0, 0xC0, 0xFF) << QPalette::Active;
    QTest::newRow("Device_List") << "Device_List" << QPalette::Base << QColor(0xFF, 0xE0, 0xC0) << QPalette::Active;
    QTest::newRow("User_ID") << "User_ID" << QPalette::Base << QColor(0xC0, 0xC0, 0xC0) << QPalette::Disabled;
    QTest::newRow("User_Password") << "User_Password" << QPalette::Base << QColor(0xC0, 0xC0, 0xC0) << QPalette::Disabled;
    QTest::newRow("DISP_IP text") << "DISP_IP" << QPalette::WindowText << QColor(0xFF, 0x00, 0x00) << QPalette::Active;
    QTest::newRow("DISP_IP background") << "DISP_IP" << QPalette::Window << QColor(0xFF, 0xFF, 0x80) << QPalette::Active;
    QTest::newRow("Label1 text") << "Label1" << QPalette::WindowText << QColor(0xFF, 0x00, 0x00) << QPalette::Active;
    QTest::newRow("Label1 background") << "Label1" << QPalette::Window << QColor(0xC0, 0xFF, 0xC0) << QPalette::Active;
    QTest::newRow("Label5 text") << "Label5" << QPalette::WindowText << QColor(0x00, 0x00, 0xFF) << QPalette::Active;
}

void CatalogueTest::colours()
{
    QFETCH(QString, name);
    QFETCH(QPalette::ColorRole, role);
    QFETCH(QColor, colour);
    QFETCH(QPalette::ColorGroup, group);

    Window w;
    QWidget *widget = name == QLatin1String("MainForm") ? w.form.get() : w.find(name);
    QVERIFY(widget);
    QCOMPARE(widget->palette().color(group, role), colour);
}

void CatalogueTest::drawnColours()
{
    // The colours reach the screen: the window, the list, the log pane and the
    // two coloured labels, each sampled inside its area.
    Window w;
    QVERIFY(w.showActive());
    const QImage shot = w.form->grab().toImage();
    const auto at = [&](const char *name, QPoint offset) {
        QWidget *widget = w.find(QLatin1String(name));
        return shot.pixelColor(widget->mapTo(w.form.get(), offset));
    };
    QCOMPARE(shot.pixelColor(3, 3), QColor(0xD4, 0xD0, 0xC8));
    QCOMPARE(at("Device_List", {40, 200}), QColor(0xFF, 0xE0, 0xC0));
    QCOMPARE(at("Help_Text", {300, 85}), QColor(0xC0, 0xC0, 0xFF));
    QCOMPARE(at("DISP_IP", {1, 1}), QColor(0xFF, 0xFF, 0x80));
    QCOMPARE(at("Label1", {1, 1}), QColor(0xC0, 0xFF, 0xC0));
}

void CatalogueTest::pictures()
{
    Window w;
    auto *picture = w.find<QLabel>("Image1");
    QVERIFY(picture);
    const QPixmap pixmap = picture->pixmap();
    QCOMPARE(pixmap.size(), QSize(128, 28));
    QCOMPARE(picture->size(), pixmap.size());
    QCOMPARE(picture->text(), QString());
}

QTEST_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
