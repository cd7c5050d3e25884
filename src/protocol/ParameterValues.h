// SPDX-License-Identifier: Apache-2.0
// Some or all of the 17 parameter values as the window shows them: what a
// profile holds, what a read leaves in the window, what a write should send.
#pragma once

#include "Catalogue.h"
#include "ParameterValue.h"
#include "core/Panel.h"
#include "core/Result.h"

#include <QJsonObject>
#include <QList>

#include <array>
#include <optional>

namespace kelvane {

class ParameterValues {
public:
    // Values enter only through parseValue, so every value held is one the
    // window can show and a write can send. Nothing changes on an error.
    std::optional<ValueError> set(const Parameter &parameter, const QString &value);
    void remove(const Parameter &parameter);
    // Takes every value that `other` holds.
    void merge(const ParameterValues &other);

    bool contains(const Parameter &parameter) const;
    QString value(const Parameter &parameter) const;  // empty when not held
    int size() const;
    bool isEmpty() const { return size() == 0; }
    QList<const Parameter *> parameters() const;  // those held, in catalogue order

    // What the panel shows. A combo box without a selected item, an empty text
    // box and a start-mode group without a checked button are left out; a text
    // that parseValue refuses is an error.
    static Result<ParameterValues, ValueError> fromPanel(const Panel &panel);
    // Selects the items, sets the texts and checks the start-mode button of the
    // values held, and leaves every other control alone. False when a combo box
    // refused its item (its list was never filled).
    bool applyTo(Panel &panel) const;

    // {"baud_rate": "9600bps", ...}: English keys, values as the window shows them.
    QJsonObject toJson() const;
    // Every member must be a known key with a text value that parseValue accepts.
    static Result<ParameterValues, ValueError> fromJson(const QJsonObject &object);

    friend bool operator==(const ParameterValues &, const ParameterValues &) = default;

private:
    std::array<std::optional<QString>, ParameterCount> m_values;
};

struct Difference {
    const Parameter *parameter = nullptr;
    QString expected;
    std::optional<QString> actual;  // none when the actual set lacks the parameter
};

// The parameters that `expected` holds and `actual` does not hold or shows
// differently (by sameValue), in catalogue order.
QList<Difference> compareValues(const ParameterValues &expected, const ParameterValues &actual);

}  // namespace kelvane
