// SPDX-License-Identifier: Apache-2.0
// Builders of every datagram the tool sends. Pure: bytes in, bytes out.
#pragma once

#include "core/DeviceAddress.h"

#include <QByteArray>

namespace kelvane::frames {

// "SETUP", five bytes, no address and no CR.
QByteArray discoveryRequest();
// address, "AT", code, CR: 11 bytes.
QByteArray query(const DeviceAddress &address, const char *code);
// address, "AT", code, "=", value, CR: 12 + value length bytes.
QByteArray write(const DeviceAddress &address, const char *code, const QByteArray &value);
// address, "ATDF", CR: 11 bytes.
QByteArray defaults(const DeviceAddress &address);
// address, "END": 9 bytes, no CR.
QByteArray reset(const DeviceAddress &address);
// FF x 6, "END": tells every module the tool is leaving.
QByteArray exit();

}  // namespace kelvane::frames
