// kelvane-config: finds Kelvane serial-to-Ethernet modules and sets their parameters.
#include "Appearance.h"
#include "CommandLine.h"
#include "MainForm.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    kelvane::nameApplication();
    // Help and version are answered before a display is opened, so they work
    // on a console alone.
    const auto early = kelvane::readCommandLine(kelvane::rawArguments(argc, argv));
    if (const auto *answer = std::get_if<kelvane::Answer>(&early); answer && answer->exitStatus == 0)
        return kelvane::printAnswer(*answer);

    QApplication app(argc, argv);
    kelvane::setUpApplication();
    // Qt has taken its own options by now; whatever is left must be ours.
    const auto read = kelvane::readCommandLine(QApplication::arguments());
    if (const auto *answer = std::get_if<kelvane::Answer>(&read))
        return kelvane::printAnswer(*answer);

    kelvane::MainForm window;
    window.show();
    return QApplication::exec();
}
