// SPDX-License-Identifier: Apache-2.0
// The language the operator reads: chosen once from the locale or --lang, for both front ends.
#include "Language.h"

#include "Diagnostics.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kelvane {

std::optional<Language> languageNamed(const QString &name)
{
    if (name == QLatin1String("zh"))
        return Language::Chinese;
    if (name == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

QCommandLineOption languageOption()
{
    return QCommandLineOption(QStringLiteral("lang"),
                              QStringLiteral("Show texts in LANG: zh (Chinese) or en (English); default: the locale's."),
                              QStringLiteral("LANG"));
}

Language chooseLanguage(const QStringList &uiLanguages, const QString &override)
{
    if (const std::optional<Language> named = languageNamed(override))
        return *named;
    for (const QString &name : uiLanguages) {
        // C and POSIX choose the source text, whatever follows them.
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::C)
            return Language::Chinese;
        if (language == QLocale::English)
            return Language::English;
        if (language == QLocale::Chinese)
            return Language::Chinese;
    }
    return Language::Chinese;
}

QString englishText(const char *context, const QString &source)
{
    static const QTranslator *const english = [] {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (!translator->load(QStringLiteral(":/kelvane/i18n/kelvane_en.qm")))
            qCWarning(lcEngine) << "no English translation compiled in";
        return translator;
    }();
    const QString translated = english->translate(context, source.toUtf8().constData());
    return translated.isEmpty() ? source : translated;
}

void installTranslators(Language language)
{
    auto *own = new QTranslator(QCoreApplication::instance());
    auto *qt = new QTranslator(QCoreApplication::instance());
    if (language == Language::English) {
        // Qt's own texts are English already.
        if (own->load(QStringLiteral(":/kelvane/i18n/kelvane_en.qm")))
            QCoreApplication::installTranslator(own);
        return;
    }
    // Standard dialogs read 确定 and 取消, like the rest of the window.
    if (qt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}

}  // namespace kelvane
