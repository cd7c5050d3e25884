// SPDX-License-Identifier: Apache-2.0
// What one answer to a parameter query says, decoded by its catalogue row. Pure.
#pragma once

#include "protocol/Catalogue.h"

#include <QByteArray>
#include <QString>

#include <variant>

namespace kelvane {

namespace answer {
struct Index { int index; };         // select this item; -1 clears the selection
struct Text { QString text; };       // replace the control's text
struct Rejected { QString message; };// the module sent a value the tool refuses
struct StartMode { int digit; };     // d for the option group
struct Failure {};                   // too short for the offsets the row reads
}  // namespace answer

using Answer = std::variant<answer::Index, answer::Text, answer::Rejected, answer::StartMode,
                            answer::Failure>;

// Decodes one answer by its catalogue row. Pure.
Answer decodeAnswer(const Parameter &parameter, const QByteArray &reply);

// What an answer was decoded as, in a few words: "index 3", "text 0012".
QString describeAnswer(const Answer &answer);

}  // namespace kelvane
