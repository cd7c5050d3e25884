// SPDX-License-Identifier: Apache-2.0
// Which language the operator reads, from the locale's languages and --lang.
#include "core/Language.h"

#include <QTest>

using namespace kelvane;

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("override");
        QTest::addColumn<Language>("expected");
        QTest::addRow("C before en-US: still Chinese") << QStringList{"C", "en-US"} << "" << Language::Chinese;
        QTest::addRow("de_DE then en_US: English") << QStringList{"de-DE", "en-US"} << "" << Language::English;
        QTest::addRow("zh first wins over en") << QStringList{"zh-CN", "en-US"} << "" << Language::Chinese;
        QTest::addRow("--lang en wins over zh_CN") << QStringList{"zh_CN"} << "en" << Language::English;
        QTest::addRow("--lang zh wins over en_US") << QStringList{"en_US"} << "zh" << Language::Chinese;
        QTest::addRow("unknown override: the locale") << QStringList{"en_US"} << "fr" << Language::English;
    }

    void choice()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, override);
        QTEST(chooseLanguage(uiLanguages, override), "expected");
    }

    // --lang takes exactly zh or en.
    void languageNames()
    {
        QCOMPARE(languageNamed("zh"), Language::Chinese);
        QCOMPARE(languageNamed("en"), Language::English);
        QCOMPARE(languageNamed("EN"), std::nullopt);
        QCOMPARE(languageNamed("zh_CN"), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(LanguageTest)
#include "tst_language.moc"
