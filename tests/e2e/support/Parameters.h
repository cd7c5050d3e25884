// The 17 parameters as the operator sees and enters them, in catalogue order:
// item texts for the lists, the texts of the boxes, and the start-mode button
// that is checked ("Direct", "PPPOE", "DHCP", or "" for none).
#pragma once

#include "core/HeadlessPanel.h"

#include <QStringList>

namespace kelvane::e2e {

QStringList shownParameters(const Panel &panel);
// Chooses list items, types texts and checks the option; false if a list
// lacks the item.
bool enterParameters(HeadlessPanel &panel, const QStringList &values);

// What a read of simulated module 0, 1 or 2 shows before anything was written.
QStringList factoryShown(int module);

}  // namespace kelvane::e2e
