// SPDX-License-Identifier: Apache-2.0
#include "Diagnostics.h"

namespace kelvane {

Q_LOGGING_CATEGORY(lcEngine, "kelvane.engine", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLink, "kelvane.link", QtWarningMsg)

}  // namespace kelvane
