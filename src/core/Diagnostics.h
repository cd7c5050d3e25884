// SPDX-License-Identifier: Apache-2.0
// Logging categories for developers, off below warnings by default:
// QT_LOGGING_RULES="kelvane.*=true" shows every datagram dropped and why.
#pragma once

#include <QLoggingCategory>

namespace kelvane {

Q_DECLARE_LOGGING_CATEGORY(lcEngine)
Q_DECLARE_LOGGING_CATEGORY(lcLink)

}  // namespace kelvane
