// Opening and closing: the choice lists, the socket, the first log entry,
// the locked controls, and the farewell broadcast.
#pragma once

#include "core/Machine.h"

namespace kelvane {

void startUp(Machine &m);
// "本机IP地址：192.0.2.1    端口号： 65002"
QString addressDisplay(const QString &localAddress);
// The operator confirmed leaving: every module hears that the tool is gone.
void sendExitFrame(Machine &m);

}  // namespace kelvane
