// SPDX-License-Identifier: Apache-2.0
// The window's look beyond its form: fonts completed, labels that size themselves
// to their text, the pictures and the application's style.
#pragma once

#include "core/Language.h"

#include <QIcon>

class QLabel;
class QWidget;

namespace kelvane {

// What the form cannot hold: the Song face behind every Latin one, point sizes
// with a fraction, and every label but Label10 and Image1 sized to its text.
// Fonts and colours are otherwise the form's.
void applyAppearance(QWidget &window);

// Keeps the left edge, grows or shrinks to the right.
void fitToText(QLabel &label);

// Both icon pictures, 16 and 32 pixels.
QIcon toolIcon();

// The pictures are compiled into this library; call before the first use.
void loadPictures();

// Name and version, which need no application object yet.
void nameApplication();

// Names, icon, style, palette and texts in `language`, before the window is made.
void setUpApplication(Language language = Language::Chinese);

}  // namespace kelvane
