// The value a write carries, read from its control when the frame is built.
#pragma once

#include "Catalogue.h"
#include "core/Panel.h"

#include <QByteArray>
#include <optional>

namespace kelvane {

// The value bytes of one parameter's write, or none when the control holds
// nothing that can go on the wire: a combo box without a selected item, or a
// text with a character that has no single-byte code.
std::optional<QByteArray> writeValue(const Panel &panel, const Parameter &parameter);

// The message that names an unwritable parameter, for the status pane.
QString invalidValueMessage(const Parameter &parameter);

// The first parameter whose control cannot be written, if any.
const Parameter *firstInvalidParameter(const Panel &panel);

// True when every character of the text has a single-byte code.
bool isSingleByteText(const QString &text);

}  // namespace kelvane
