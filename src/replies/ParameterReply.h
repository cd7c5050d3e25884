// Answers to the 17 parameter queries: decoding into the window's controls.
#pragma once

#include "core/Machine.h"
#include "protocol/Catalogue.h"

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

// Step 1 to 17: applies the answer to the query sent at Step - 1 and asks
// for the next parameter, or ends the read at Step 17.
QString handleParameterReply(Machine &m, const QByteArray &reply);

}  // namespace kelvane
