// SPDX-License-Identifier: Apache-2.0
// Finding a key given twice in one JSON object, which QJsonDocument silently
// collapses into one.
#pragma once

#include <QByteArrayView>
#include <QStringList>

#include <optional>

namespace kelvane {

struct DuplicateKey {
    QStringList path;  // the keys leading to the object, [] for the outermost
    QString key;
};

// The first key that repeats within one object. The text must already have
// parsed as JSON.
std::optional<DuplicateKey> firstDuplicateKey(QByteArrayView json);

}  // namespace kelvane
