// SPDX-License-Identifier: Apache-2.0
// The modules found, in order of discovery, each kept as its first discovery reply.
#pragma once

#include "DeviceAddress.h"

#include <QByteArray>
#include <QList>

namespace kelvane {

class DeviceTable {
public:
    // DeviceCount: the number of entries and the index the next one gets.
    int count() const { return int(m_entries.size()); }
    bool isFull() const { return count() >= DeviceTableCapacity; }

    int indexOf(const DeviceAddress &address) const;
    // Stores a reply whole as the next entry. The caller makes sure the
    // address is new, the table not full and the reply long enough.
    void append(const QByteArray &reply);
    void removeAt(int index);

    const QByteArray &entry(int index) const { return m_entries.at(index); }
    DeviceAddress address(int index) const;

private:
    QList<QByteArray> m_entries;
};

}  // namespace kelvane
