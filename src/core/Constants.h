// SPDX-License-Identifier: Apache-2.0
// Fixed settings of the link and the operations; none of them is configurable.
#pragma once

#include <QtGlobal>

namespace kelvane {

inline constexpr quint16 LocalPort = 65002;
inline constexpr quint16 RemotePort = 65000;
inline constexpr const char *RemoteHost = "255.255.255.255";

inline constexpr int TimeoutMs = 400;  // every request that expects an answer
inline constexpr int ScanRounds = 4;   // discovery broadcasts per scan
inline constexpr int MaxRetries = 2;   // restarts of a read or write after a time-out
// The command line and fleets try each query and write on its own, this often by default.
inline constexpr int DefaultFrameAttempts = 5;
// and wait this long after an answer whose copy would pass for the next one before the next
// frame, so that a copy trailing it (a LAN that repeats datagrams) is dropped, not taken.
inline constexpr int SettleMs = 2;
inline constexpr int DeviceTableCapacity = 254;
inline constexpr int DeviceAddressSize = 6;

}  // namespace kelvane
