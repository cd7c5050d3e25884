// SPDX-License-Identifier: Apache-2.0
// Whether an answer to a parameter query has the form the module sends, so
// that a stray or garbled datagram is not decoded into a value.
#pragma once

#include "protocol/Catalogue.h"

#include <QByteArray>

namespace kelvane {

// The answer after the six address bytes, by the parameter's answer layout:
//   one digit (choices, start mode): a padding digit ('0' where the decoder
//     insists on it), the digit, CR;
//   four digits: a padding digit, four digits, CR;
//   five digits: five digits, CR;
//   address: four groups of three digits with dots between them, CR.
// What follows the CR (the module sends LF) is not looked at. Whether a
// choice digit names an item is the decoder's business, not the form's. Pure.
bool answerFits(const Parameter &parameter, const QByteArray &reply);

}  // namespace kelvane
