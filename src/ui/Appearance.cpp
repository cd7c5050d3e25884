// SPDX-License-Identifier: Apache-2.0
// The window's look beyond its form: fonts completed, labels sized to their text, pictures, style.
#include "Appearance.h"

#include "core/Language.h"
#include "core/Version.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QVariant>

// Q_INIT_RESOURCE must not stand inside a namespace.
static void initWindowResources()
{
    Q_INIT_RESOURCE(window);
}

namespace kelvane {

namespace {

const QString Song = QStringLiteral("AR PL UMing CN");
// A form's font has whole points only; a control that needs a fraction of a
// point carries the exact size in this property of its own.
const char *const ExactPointSize = "exactPointSize";

// The form names one family per control. The Latin faces have no Chinese
// glyphs: the Song face stands in for them.
void completeFont(QWidget &widget)
{
    QFont font = widget.font();
    bool changed = false;
    if ((font.resolveMask() & QFont::FamiliesResolved) && !font.families().contains(Song)) {
        font.setFamilies(font.families() << Song);
        changed = true;
    }
    const QVariant exact = widget.property(ExactPointSize);
    if (exact.isValid()) {
        font.setPointSizeF(exact.toReal());
        changed = true;
    }
    if (changed)
        widget.setFont(font);
}

}  // namespace

void applyAppearance(QWidget &window)
{
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_")))
            completeFont(*widget);
    }

    for (QLabel *label : window.findChildren<QLabel *>()) {
        const QString name = label->objectName();
        // Label10 keeps its fixed box; Image1 is a picture of its own size.
        if (name != QLatin1String("Label10") && name != QLatin1String("Image1"))
            fitToText(*label);
    }
}

void fitToText(QLabel &label)
{
    label.resize(label.sizeHint());
}

QIcon toolIcon()
{
    loadPictures();
    QIcon icon;
    icon.addFile(QStringLiteral(":/kelvane/icon-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/kelvane/icon-32.png"), QSize(32, 32));
    return icon;
}

void loadPictures()
{
    initWindowResources();
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("kelvane-config"));
    QCoreApplication::setApplicationVersion(QLatin1String(Version));
}

void setUpApplication(Language language)
{
    nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvane-config"));
    QApplication::setWindowIcon(toolIcon());
    installTranslators(language);
    // The layout is fixed to the pixel and its colours are light ones: one
    // style and its own light palette, whatever the desktop's theme.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
}

}  // namespace kelvane
