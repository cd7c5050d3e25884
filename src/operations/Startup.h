// Opening and closing: the choice lists, the socket, the first log entry,
// the locked controls, and the farewell broadcast.
#pragma once

#include "core/Machine.h"

namespace kelvane {

void startUp(Machine &m);
// "本机IP地址：192.0.2.1    端口号： 65002"
QString addressDisplay(const QString &localAddress);
// DISP_IP shows the card the module was found on; with none, the card of the default route.
void showAddress(Machine &m, const std::optional<DeviceAddress> &module = std::nullopt);
// The operator confirmed leaving: every module hears that the tool is gone.
void sendExitFrame(Machine &m);

}  // namespace kelvane
