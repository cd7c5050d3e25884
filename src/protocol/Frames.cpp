// SPDX-License-Identifier: Apache-2.0
#include "Frames.h"

namespace kelvane::frames {

namespace {
constexpr char Cr = '\r';

QByteArray command(const DeviceAddress &address, const char *code)
{
    Q_ASSERT(qstrlen(code) == 2);
    return address.toByteArray() + "AT" + code;
}
}  // namespace

QByteArray discoveryRequest()
{
    return QByteArrayLiteral("SETUP");
}

QByteArray query(const DeviceAddress &address, const char *code)
{
    return command(address, code) + Cr;
}

QByteArray write(const DeviceAddress &address, const char *code, const QByteArray &value)
{
    return command(address, code) + '=' + value + Cr;
}

QByteArray defaults(const DeviceAddress &address)
{
    return command(address, "DF") + Cr;
}

QByteArray reset(const DeviceAddress &address)
{
    return address.toByteArray() + "END";
}

QByteArray exit()
{
    return QByteArray(DeviceAddressSize, '\xFF') + "END";
}

}  // namespace kelvane::frames
