// SPDX-License-Identifier: Apache-2.0
// Looking up catalogue rows by their English key ("baud_rate").
#pragma once

#include "Catalogue.h"

#include <QStringList>
#include <QStringView>

namespace kelvane {

// The row with exactly this key, or nullptr.
const Parameter *parameterByKey(QStringView key);

// The position of one of catalogue()'s rows, 0 to 16.
int parameterRow(const Parameter &parameter);

// The keys, in catalogue order.
QStringList parameterKeys();

// The key as a QString.
QString parameterKey(const Parameter &parameter);

}  // namespace kelvane
