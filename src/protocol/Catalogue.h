// SPDX-License-Identifier: Apache-2.0
// The 17 module parameters: their controls, codes, choice lists, how a write
// encodes them and how an answer is decoded. Senders and decoders read only this.
#pragma once

#include "core/Control.h"

#include <QStringList>

#include <array>
#include <limits>

namespace kelvane {

enum class ValueKind {
    Choice,     // a combo box: one digit, '0' + digitOffset + selected index
    Text,       // a text box: its text, one byte a character
    StartMode,  // the option group: '0' Direct, '1' PPPOE, otherwise '2'
};

enum class AnswerLayout {
    Choice,      // one digit at offset 7 (and "0" at offset 6 where zeroAtSix)
    FourDigits,  // offsets 7 to 10
    FiveDigits,  // offsets 6 to 10
    Address,     // four groups of three digits at 6, 10, 14, 18
    StartMode,   // one digit at offset 7
};

struct Parameter {
    Control control;
    const char *code;    // two capital letters, for the query and the write
    const char *key;     // stable English snake_case name, for profiles and the command line
    const char *label;   // the caption beside the control, for messages
    ValueKind kind;
    AnswerLayout answer;
    // Choice rows: digit = '0' + digitOffset + index, on the wire both ways.
    int digitOffset = 0;
    // Choice rows: answers accepted for minDigit <= d <= maxDigit, d signed.
    int minDigit = std::numeric_limits<int>::min();
    int maxDigit = 0;
    bool zeroAtSix = false;        // offset 6 must hold "0"
    const char *rejection = "";    // replaces the log when an answer is not accepted
    QStringList items = {};        // the choice list, in index order
};

inline constexpr int ParameterCount = 17;
// Step offsets: row r is queried at Step r and written at Step WriteBase + r.
inline constexpr int WriteBase = 21;
inline constexpr int WriteFinish = WriteBase + ParameterCount;  // 38: last ack awaited
inline constexpr int DefaultsStep = 20;

const std::array<Parameter, ParameterCount> &catalogue();

// A label, rejection or item as the operator reads it. The catalogue's own
// Chinese stays the value in profiles and JSON.
QString catalogueText(const char *text);

// Start-up fills the combo boxes in this order.
const std::array<Control, 8> &comboFillOrder();

// The parameter controls in catalogue order, the three option buttons excluded.
const std::array<Control, 16> &valueControls();

}  // namespace kelvane
