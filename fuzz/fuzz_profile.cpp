// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary bytes to the profile reader, as a file from anywhere might.
// Whatever reads must write back to text that reads to the same values, and
// every value held must be one the window can show and a write can send.
#include "support/HeadlessPanel.h"
#include "profiles/Profile.h"
#include "protocol/Catalogue.h"
#include "protocol/ParameterValue.h"
#include "protocol/ParameterValues.h"
#include "protocol/WriteSenders.h"

#include <cstddef>
#include <cstdint>

using namespace kelvane;

namespace {
void require(bool holds)
{
    if (!holds)
        __builtin_trap();
}

const QString FileName = QStringLiteral("fuzz.json");

void checkRead(const ParameterValues &values)
{
    // Written again, it reads back the same, and writes the same text.
    const QByteArray text = profileText(values);
    const auto again = readProfile(text, FileName);
    require(again.ok());
    require(again.value() == values);
    require(profileText(again.value()) == text);

    // Each value is already in the form the parser gives.
    for (const Parameter *parameter : values.parameters()) {
        const auto reparsed = parseValue(*parameter, values.value(*parameter));
        require(reparsed.ok());
        require(reparsed.value() == values.value(*parameter));
    }

    // Put into the window, it shows the same and every control can be written.
    HeadlessPanel panel;
    for (const Parameter &parameter : catalogue()) {
        if (parameter.kind == ValueKind::Choice)
            panel.addItems(parameter.control, parameter.items);
    }
    require(values.applyTo(panel));
    const auto shown = ParameterValues::fromPanel(panel);
    require(shown.ok());
    require(compareValues(values, shown.value()).isEmpty());
    for (const Parameter *parameter : values.parameters())
        require(wireValue(*parameter, shown.value().value(*parameter)).has_value());
}

// The same bytes as a command-line NAME=VALUE: an accepted value is stable.
void checkAssignment(const QByteArray &bytes)
{
    const auto assignment = parseAssignment(QString::fromUtf8(bytes.left(256)));
    if (!assignment) {
        require(!assignment.error().message.isEmpty());
        return;
    }
    const auto again = parseValue(*assignment.value().parameter, assignment.value().value);
    require(again.ok());
    require(again.value() == assignment.value().value);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto read = readProfile(bytes, FileName);
    if (read.ok()) {
        checkRead(read.value());
    } else {
        require(read.error().file == FileName);
        require(read.error().message.startsWith(FileName + QStringLiteral(": ")));
    }
    checkAssignment(bytes);
    return 0;
}
