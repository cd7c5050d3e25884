// The window's look: the typefaces, sizes and colours of its controls, its
// pictures, and labels that size themselves to their text.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>

class QLabel;
class QWidget;

namespace kelvane {

// The three typefaces of the layout, by what this machine has for them.
enum class Face {
    Song,    // the Chinese Song face: AR PL UMing CN
    Arial,   // Liberation Sans
    Corbel,  // Carlito
};

QFont layoutFont(Face face, qreal pointSize, bool bold = false);

// The active window border colour of the classic desktop, the window's background.
inline const QColor WindowColour{0xD4, 0xD0, 0xC8};

// Fonts and colours for every named control of the window, then every label
// but Label10 sized to its text.
void applyAppearance(QWidget &window);

// Keeps the left edge, grows or shrinks to the right.
void fitToText(QLabel &label);

// Both icon pictures, 16 and 32 pixels.
QIcon toolIcon();

// The pictures are compiled into this library; call before the first use.
void loadPictures();

// Name and version, which need no application object yet.
void nameApplication();

// Names, icon, style and palette of the application, before its window is made.
void setUpApplication();

}  // namespace kelvane
