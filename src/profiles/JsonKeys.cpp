// SPDX-License-Identifier: Apache-2.0
#include "JsonKeys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QSet>

namespace kelvane {

namespace {
// A quoted JSON string, escapes and all, to its text.
QString decodeString(QByteArrayView quoted)
{
    const QByteArrayView inner = quoted.sliced(1, quoted.size() - 2);
    if (!inner.contains('\\'))
        return QString::fromUtf8(inner);
    // Let Qt's parser undo the escapes so that "a\u005fb" and "a_b" compare equal.
    const QByteArray wrapped = '[' + quoted.toByteArray() + ']';
    return QJsonDocument::fromJson(wrapped).array().at(0).toString();
}

struct Frame {
    bool object = false;
    bool expectKey = false;
    QString name;  // the key this object or list is the value of
    QString lastKey;
    QSet<QString> keys;
};
}  // namespace

std::optional<DuplicateKey> firstDuplicateKey(QByteArrayView json)
{
    QList<Frame> stack;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        switch (c) {
        case '{':
        case '[': {
            Frame frame;
            frame.object = c == '{';
            frame.expectKey = frame.object;
            if (!stack.isEmpty() && stack.last().object)
                frame.name = stack.last().lastKey;
            stack.append(std::move(frame));
            break;
        }
        case '}':
        case ']':
            if (!stack.isEmpty())
                stack.removeLast();
            break;
        case ',':
            if (!stack.isEmpty() && stack.last().object)
                stack.last().expectKey = true;
            break;
        case '"': {
            qsizetype end = i + 1;
            while (end < json.size() && json[end] != '"')
                end += json[end] == '\\' ? 2 : 1;
            if (end >= json.size())
                return std::nullopt;  // not JSON after all
            if (!stack.isEmpty() && stack.last().object && stack.last().expectKey) {
                Frame &frame = stack.last();
                const QString key = decodeString(json.sliced(i, end - i + 1));
                if (frame.keys.contains(key)) {
                    QStringList path;
                    for (qsizetype depth = 1; depth < stack.size(); ++depth)
                        path.append(stack[depth].name);
                    return DuplicateKey{path, key};
                }
                frame.keys.insert(key);
                frame.lastKey = key;
                frame.expectKey = false;
            }
            i = end;
            break;
        }
        default:
            break;
        }
    }
    return std::nullopt;
}

}  // namespace kelvane
