// SPDX-License-Identifier: Apache-2.0
// What a frame the tool sends asks for, in a few words, for traffic traces.
#pragma once

#include <QByteArray>
#include <QString>

namespace kelvane {

// "discovery request", "query UB (baud_rate)", "write IP (ip_address) = 192.168.0.7",
// "restore defaults", "reset", "exit"; "unknown" for anything else.
QString describeRequest(const QByteArray &frame);

}  // namespace kelvane
