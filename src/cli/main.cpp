// kelvane: the configuration tool's engine from a terminal.
#include "Commands.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0"));
    return kelvane::cli::run(QCoreApplication::arguments());
}
