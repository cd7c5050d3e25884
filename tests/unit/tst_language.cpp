// Which language the operator reads, from the locale's languages and --lang, and
// that the English translation is compiled in and used.
#include "core/Language.h"

#include <QCoreApplication>
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
        QTest::addRow("en_US is English") << QStringList{"en_US"} << "" << Language::English;
        QTest::addRow("en-GB is English") << QStringList{"en-GB", "en"} << "" << Language::English;
        QTest::addRow("zh_CN is Chinese") << QStringList{"zh_CN"} << "" << Language::Chinese;
        QTest::addRow("zh-Hant-TW is Chinese") << QStringList{"zh-Hant-TW"} << "" << Language::Chinese;
        QTest::addRow("C is Chinese, not English") << QStringList{"C"} << "" << Language::Chinese;
        QTest::addRow("C before en-US: still Chinese") << QStringList{"C", "en-US"} << "" << Language::Chinese;
        QTest::addRow("POSIX is Chinese") << QStringList{"POSIX"} << "" << Language::Chinese;
        QTest::addRow("de_DE has no translation") << QStringList{"de_DE"} << "" << Language::Chinese;
        QTest::addRow("de_DE then en_US: English") << QStringList{"de-DE", "en-US"} << "" << Language::English;
        QTest::addRow("zh first wins over en") << QStringList{"zh-CN", "en-US"} << "" << Language::Chinese;
        QTest::addRow("no languages: Chinese") << QStringList{} << "" << Language::Chinese;
        QTest::addRow("--lang en wins over zh_CN") << QStringList{"zh_CN"} << "en" << Language::English;
        QTest::addRow("--lang zh wins over en_US") << QStringList{"en_US"} << "zh" << Language::Chinese;
        QTest::addRow("unknown override: the locale") << QStringList{"en_US"} << "fr" << Language::English;
    }

    void choice()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, override);
        QFETCH(Language, expected);
        QCOMPARE(chooseLanguage(uiLanguages, override), expected);
    }

    void languageNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("known");
        QTest::addRow("zh") << "zh" << true;
        QTest::addRow("en") << "en" << true;
        QTest::addRow("EN is not en") << "EN" << false;
        QTest::addRow("zh_CN is not a --lang value") << "zh_CN" << false;
        QTest::addRow("empty") << "" << false;
    }

    void languageNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, known);
        QCOMPARE(languageNamed(name).has_value(), known);
    }

    // The compiled translation is in the library and answers engine texts.
    void englishIsInstalled()
    {
        QCOMPARE(QCoreApplication::translate("Scan", "未检查到网络中的设备！"), "未检查到网络中的设备！");
        installTranslators(Language::English);
        QCOMPARE(QCoreApplication::translate("Scan", "未检查到网络中的设备！"), "No module found on the network!");
    }
};

QTEST_GUILESS_MAIN(LanguageTest)
#include "tst_language.moc"
