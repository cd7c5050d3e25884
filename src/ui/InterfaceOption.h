// --interface on the window's command line: the network cards the tool may use.
#pragma once

#include <QString>
#include <QStringList>

#include <variant>

class QCommandLineParser;

namespace kelvane {

void addInterfaceOption(QCommandLineParser &parser);

// The card names given, all of them known; or the message that says which is not.
std::variant<QStringList, QString> interfaceNames(const QCommandLineParser &parser);

}  // namespace kelvane
