// SPDX-License-Identifier: Apache-2.0
// The single-line text boxes: the typing limit binds the user only, and the
// tool may show longer text that a module sent.
#pragma once

class QLineEdit;
class QString;
class QValidator;

namespace kelvane::textbox {

// Takes the box's maxLength as its typing limit; a validator, if any, screens
// what is typed or pasted.
void prepare(QLineEdit &box, const QValidator *validator = nullptr);
// Sets the whole text, however long. The user can then only shorten it until
// it fits the typing limit again.
void setText(QLineEdit &box, const QString &text);

}  // namespace kelvane::textbox
