#include "Appearance.h"

#include "core/Version.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>

// Q_INIT_RESOURCE must not stand inside a namespace.
static void initWindowResources()
{
    Q_INIT_RESOURCE(window);
}

namespace kelvane {

namespace {

const QString Song = QStringLiteral("AR PL UMing CN");

struct FontRule {
    const char *name;
    Face face;
    qreal pointSize;
    bool bold;
};

// Controls whose font differs from their kind's: labels use Arial 9, combo
// boxes and text boxes the Song face at 9 points.
constexpr FontRule fontRules[] = {
    {"Scan", Face::Arial, 10.5, true},
    {"L_Default", Face::Song, 9, true},
    {"Setting", Face::Song, 9, true},
    {"Run_Device", Face::Arial, 9, true},
    {"Exit_Command", Face::Arial, 10.5, true},
    {"UART_Control", Face::Song, 9, true},
    {"Ethernet_Control", Face::Song, 9, true},
    {"Set_PPPOE", Face::Song, 9, true},
    {"Frame1", Face::Song, 9, false},
    {"Direct", Face::Song, 9, false},
    {"PPPOE", Face::Arial, 9, false},
    {"DHCP", Face::Arial, 9, false},
    {"Help_Text", Face::Arial, 8.25, false},
    {"Device_List", Face::Arial, 10.5, false},
    {"Label1", Face::Arial, 9, true},
    {"Label5", Face::Corbel, 9, true},
};

void applyFont(QWidget &widget)
{
    const QString name = widget.objectName();
    for (const FontRule &rule : fontRules) {
        if (name == QLatin1String(rule.name)) {
            widget.setFont(layoutFont(rule.face, rule.pointSize, rule.bold));
            return;
        }
    }
    if (qobject_cast<QLabel *>(&widget))
        widget.setFont(layoutFont(Face::Arial, 9));
    else if (qobject_cast<QComboBox *>(&widget) || qobject_cast<QLineEdit *>(&widget))
        widget.setFont(layoutFont(Face::Song, 9));
}

void setColour(QWidget &widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

void colourLabel(QLabel &label, const QColor &text, const QColor &background = {})
{
    setColour(label, QPalette::WindowText, text);
    if (background.isValid()) {
        setColour(label, QPalette::Window, background);
        label.setAutoFillBackground(true);
    }
}

// The caption in dark red, also while the frame is disabled. The frame's
// palette would pass the colour on to its labels and option buttons, so they
// get the ordinary text colour back. Labels stay legible in a disabled frame;
// option buttons grey out, in the classic grey that reads on this background.
void colourFrameCaption(QGroupBox &frame)
{
    setColour(frame, QPalette::WindowText, QColor(0x40, 0x00, 0x00));

    const QColor text = QApplication::palette().color(QPalette::Active, QPalette::WindowText);
    const QColor greyText(0x80, 0x80, 0x80);
    for (QWidget *child : frame.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const bool label = qobject_cast<QLabel *>(child);
        if (!label && !qobject_cast<QRadioButton *>(child))
            continue;
        QPalette own = child->palette();
        own.setColor(QPalette::WindowText, text);
        if (!label)
            own.setColor(QPalette::Disabled, QPalette::WindowText, greyText);
        child->setPalette(own);
    }
}

template<typename T>
T &child(QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    Q_ASSERT(found);
    return *found;
}

}  // namespace

QFont layoutFont(Face face, qreal pointSize, bool bold)
{
    QFont font;
    // The Latin faces have no Chinese glyphs; the Song face stands in for them.
    switch (face) {
    case Face::Song:
        font.setFamilies({Song});
        break;
    case Face::Arial:
        font.setFamilies({QStringLiteral("Liberation Sans"), Song});
        break;
    case Face::Corbel:
        font.setFamilies({QStringLiteral("Carlito"), Song});
        break;
    }
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void applyAppearance(QWidget &window)
{
    setColour(window, QPalette::Window, WindowColour);
    window.setAutoFillBackground(true);

    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_")))
            applyFont(*widget);
    }

    for (const char *frame : {"UART_Control", "Ethernet_Control", "Set_PPPOE"})
        colourFrameCaption(child<QGroupBox>(window, frame));

    setColour(child<QWidget>(window, "Help_Text"), QPalette::Base, QColor(0xC0, 0xC0, 0xFF));
    setColour(child<QWidget>(window, "Device_List"), QPalette::Base, QColor(0xFF, 0xE0, 0xC0));
    for (const char *box : {"User_ID", "User_Password"})
        setColour(child<QWidget>(window, box), QPalette::Base, QColor(0xC0, 0xC0, 0xC0));

    colourLabel(child<QLabel>(window, "DISP_IP"), QColor(0xFF, 0x00, 0x00), QColor(0xFF, 0xFF, 0x80));
    colourLabel(child<QLabel>(window, "Label1"), QColor(0xFF, 0x00, 0x00), QColor(0xC0, 0xFF, 0xC0));
    colourLabel(child<QLabel>(window, "Label5"), QColor(0x00, 0x00, 0xFF));

    for (QLabel *label : window.findChildren<QLabel *>()) {
        const QString name = label->objectName();
        // Label10 keeps its fixed box; Image1 is a picture of its own size.
        if (name != QLatin1String("Label10") && name != QLatin1String("Image1"))
            fitToText(*label);
    }
}

void fitToText(QLabel &label)
{
    label.resize(label.sizeHint());
}

QIcon toolIcon()
{
    loadPictures();
    QIcon icon;
    icon.addFile(QStringLiteral(":/kelvane/icon-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/kelvane/icon-32.png"), QSize(32, 32));
    return icon;
}

void loadPictures()
{
    initWindowResources();
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("kelvane-config"));
    QCoreApplication::setApplicationVersion(QLatin1String(Version));
}

void setUpApplication()
{
    nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvane-config"));
    QApplication::setWindowIcon(toolIcon());
    // Standard dialogs read 确定 and 取消, like the rest of the window.
    auto *qtTexts = new QTranslator(qApp);
    if (qtTexts->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);
    // The layout is fixed to the pixel and its colours are light ones: one
    // style and its own light palette, whatever the desktop's theme.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
}

}  // namespace kelvane
