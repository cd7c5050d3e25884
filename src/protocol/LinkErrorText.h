// SPDX-License-Identifier: Apache-2.0
// What a socket error means, in the words of the status pane.
#pragma once

#include <QAbstractSocket>
#include <QString>

namespace kelvane {

QString linkErrorText(QAbstractSocket::SocketError error);

}  // namespace kelvane
