// SPDX-License-Identifier: Apache-2.0
// One parameter's value from what a person or a file gives, checked and put in
// the form the window shows it.
#pragma once

#include "Catalogue.h"
#include "core/Result.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kelvane {

// Why a value was refused. The message is one translated English sentence that
// names the parameter and what it accepts.
struct ValueError {
    QString parameter;  // the key as given ("baud_rate"), empty when there was none
    QString message;
};

// The start-mode values in wire-digit order: "direct" goes out as '0'.
const QStringList &startModeNames();

// The spellings accepted for item `index` of a choice row: the item's text
// exactly as the catalogue lists it, and its English name where it has one.
QStringList itemSpellings(const Parameter &parameter, int index);

// A value as the operator reads it: a choice row's item in the language
// installed, anything else as it stands. Files and JSON keep the item itself.
QString valueForPeople(const Parameter &parameter, const QString &value);

// The value as the window shows it: a choice row accepts an item's spelling or
// its list index in decimal (the spelling wins, so stop_bits "1" is the item
// "1"), the start mode direct, pppoe or dhcp in any case. A text row takes its
// form as it stands, leading zeros and all ("192.168.001.010", "00080"):
// the four addresses four dot-separated groups of 1 to 3 digits from 0 to 255,
// the two ports 1 to 5 digits from 0 to 65535, the two delimiters 1 to 4
// digits. Nothing is not a value.
Result<QString, ValueError> parseValue(const Parameter &parameter, const QString &input);

// Why a control's text cannot be this parameter's value, as parseValue says
// it; none when it can. For the window's write, before the first frame.
std::optional<QString> formError(const Parameter &parameter, const QString &text);

struct Assignment {
    const Parameter *parameter = nullptr;
    QString value;  // as parseValue gives it
};

// "NAME=VALUE"; the value runs to the end and may itself hold '='.
Result<Assignment, ValueError> parseAssignment(const QString &text);

// Whether two shown values mean the same to the module. A module answers
// addresses and ports zero-padded, so "192.168.1.10" and "192.168.001.010" are
// the same address and "80" and "00080" the same port; everything else must
// match exactly.
bool sameValue(const Parameter &parameter, const QString &a, const QString &b);

}  // namespace kelvane
