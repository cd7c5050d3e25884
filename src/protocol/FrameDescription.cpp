// SPDX-License-Identifier: Apache-2.0
#include "FrameDescription.h"

#include "Catalogue.h"
#include "Frames.h"
#include "core/Constants.h"

namespace kelvane {

namespace {
const Parameter *parameterOfCode(const QByteArray &code)
{
    for (const Parameter &p : catalogue()) {
        if (code == p.code)
            return &p;
    }
    return nullptr;
}
}  // namespace

QString describeRequest(const QByteArray &frame)
{
    if (frame == frames::discoveryRequest())
        return QStringLiteral("discovery request");
    if (frame == frames::exit())
        return QStringLiteral("exit");
    const QByteArray command = frame.mid(DeviceAddressSize);
    if (command == "END")
        return QStringLiteral("reset");
    if (command == "ATDF\r")
        return QStringLiteral("restore defaults");
    if (!command.startsWith("AT") || !command.endsWith('\r') || command.size() < 5)
        return QStringLiteral("unknown");
    const Parameter *p = parameterOfCode(command.mid(2, 2));
    if (!p)
        return QStringLiteral("unknown");
    const QString name = QStringLiteral("%1 (%2)").arg(QLatin1String(p->code), QLatin1String(p->key));
    if (command.size() == 5)
        return QStringLiteral("query ") + name;
    if (command.at(4) != '=')
        return QStringLiteral("unknown");
    return QStringLiteral("write %1 = %2").arg(name, QString::fromLatin1(command.mid(5).chopped(1)));
}

}  // namespace kelvane
