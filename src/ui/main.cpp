// kelvane-config: finds Kelvane serial-to-Ethernet modules and sets their parameters.
#include "Appearance.h"
#include "MainForm.h"

#include <QApplication>
#include <QStyle>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvane-config"));
    QApplication::setApplicationVersion(QStringLiteral("3.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvane-config"));
    QApplication::setWindowIcon(kelvane::toolIcon());
    // The layout is fixed to the pixel and its colours are light ones: one
    // style and its own light palette, whatever the desktop's theme.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());

    kelvane::MainForm window;
    window.show();
    return QApplication::exec();
}
