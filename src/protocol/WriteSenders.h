// The value a write carries, read from its control when the frame is built.
#pragma once

#include "Catalogue.h"
#include "core/Panel.h"

#include <QByteArrayList>

#include <optional>
#include <variant>

namespace kelvane {

// The value bytes of one parameter's write, or none when the control holds
// nothing that can go on the wire: a combo box without a selected item, or a
// text with a character that has no single-byte code, no start mode chosen.
std::optional<QByteArray> writeValue(const Panel &panel, const Parameter &parameter);

// The message that names an unwritable parameter, for the status pane.
QString invalidValueMessage(const Parameter &parameter);

// The values of all 17 writes in catalogue order, or the first parameter
// whose control holds nothing that can be written.
std::variant<QByteArrayList, const Parameter *> writeValues(const Panel &panel);

// True when every character of the text has a single-byte code.
bool isSingleByteText(const QString &text);

}  // namespace kelvane
