// SPDX-License-Identifier: Apache-2.0
// The values a write carries: taken from the window's controls when 设置 is
// pressed, and each turned into the bytes of its write frame.
#pragma once

#include "Catalogue.h"
#include "ParameterValues.h"
#include "core/Panel.h"

#include <QByteArrayList>

#include <optional>
#include <variant>

namespace kelvane {

// The value bytes of one parameter's write from its value as the window shows
// it: a choice item's digit, a text's single-byte codes, the start mode's digit.
// None for a value the write cannot send.
std::optional<QByteArray> wireValue(const Parameter &parameter, const QString &value);

// The bytes of all 17 writes in catalogue order, or the first parameter the
// values lack.
std::variant<QByteArrayList, const Parameter *> wireValues(const ParameterValues &values);

// The message that names an unwritable parameter, for the status pane.
QString invalidValueMessage(const Parameter &parameter);

// All 17 values the controls hold, or the first parameter whose control holds
// nothing that can be written: a combo box without a selected item, a text with
// a character that has no single-byte code, no start mode chosen.
std::variant<ParameterValues, const Parameter *> writeValues(const Panel &panel);

// True when every character of the text has a single-byte code.
bool isSingleByteText(const QString &text);

}  // namespace kelvane
