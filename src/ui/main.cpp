// kelvane-config: finds Kelvane serial-to-Ethernet modules and sets their parameters.
#include "Appearance.h"
#include "MainForm.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kelvane::setUpApplication();

    kelvane::MainForm window;
    window.show();
    return QApplication::exec();
}
