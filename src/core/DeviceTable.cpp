// SPDX-License-Identifier: Apache-2.0
#include "DeviceTable.h"

namespace kelvane {

int DeviceTable::indexOf(const DeviceAddress &address) const
{
    for (int i = 0; i < count(); ++i) {
        if (this->address(i) == address)
            return i;
    }
    return -1;
}

void DeviceTable::append(const QByteArray &reply)
{
    Q_ASSERT(!isFull() && reply.size() >= DeviceAddressSize);
    m_entries.append(reply);
}

void DeviceTable::removeAt(int index)
{
    m_entries.removeAt(index);
}

DeviceAddress DeviceTable::address(int index) const
{
    return *DeviceAddress::fromFrame(m_entries.at(index));
}

}  // namespace kelvane
