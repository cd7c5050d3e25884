// SPDX-License-Identifier: Apache-2.0
// kelvane: the configuration tool's engine from a terminal.
#include "Commands.h"
#include "core/Version.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvane"));
    QCoreApplication::setApplicationVersion(QLatin1String(kelvane::Version));
    return kelvane::cli::run(QCoreApplication::arguments());
}
