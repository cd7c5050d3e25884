#include "InterfaceOption.h"

#include "protocol/NetworkCards.h"

#include <QCommandLineParser>

namespace kelvane {

void addInterfaceOption(QCommandLineParser &parser)
{
    parser.addOption(interfaceOption());
}

std::variant<QStringList, QString> interfaceNames(const QCommandLineParser &parser)
{
    const QStringList names = parser.values(interfaceOption());
    if (const std::optional<QString> error = checkCardNames(systemInterfaces(), names))
        return *error;
    return names;
}

}  // namespace kelvane
