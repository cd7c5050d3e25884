// SPDX-License-Identifier: Apache-2.0
// The language the operator reads: chosen once from the locale or --lang, for both front ends.
#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelvane {

// Chinese is the source text; English comes from the translation file.
enum class Language { Chinese, English };

// "zh" or "en"; anything else is no language.
std::optional<Language> languageNamed(const QString &name);

// --lang zh|en: overrides the locale.
QCommandLineOption languageOption();

// The override when it names a language; otherwise the first of the locale's
// languages that has a translation; otherwise Chinese. C and POSIX are Chinese.
Language chooseLanguage(const QStringList &uiLanguages, const QString &override = QString());

// The English of a text of ours, whatever language is installed; the text
// itself when the translation has none. For input that may come in either.
QString englishText(const char *context, const QString &source);

// Our translation and Qt's own (for standard dialogs) for `language`.
// Needs the application object; call once.
void installTranslators(Language language);

}  // namespace kelvane
