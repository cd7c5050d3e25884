// The window's command line: what each line asks for, and the real program answering
// help and version on a console with no display.
#include "Appearance.h"
#include "CommandLine.h"
#include "core/Version.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

using namespace kelvane;

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        nameApplication();
    }

    // status -1: no answer, the window runs. text: a piece the answer must hold.
    void answers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");

        const QString version = QStringLiteral("kelvane-config ") + QLatin1String(Version) + QLatin1Char('\n');
        QTest::newRow("--version") << QStringList{"kelvane-config", "--version"} << 0 << version;
        QTest::newRow("-v") << QStringList{"kelvane-config", "-v"} << 0 << version;
        QTest::newRow("--help") << QStringList{"kelvane-config", "--help"} << 0 << QStringLiteral("--version");
        QTest::newRow("-h") << QStringList{"kelvane-config", "-h"} << 0 << QStringLiteral("Usage:");
        QTest::newRow("help beside a Qt option not yet taken")
            << QStringList{"kelvane-config", "-platform", "offscreen", "--help"} << 0 << QStringLiteral("Usage:");
        QTest::newRow("version beside an unknown option")
            << QStringList{"kelvane-config", "--frobnicate", "--version"} << 0 << version;
        QTest::newRow("help wins over version")
            << QStringList{"kelvane-config", "--version", "--help"} << 0 << QStringLiteral("Usage:");
        QTest::newRow("unknown option is bad input")
            << QStringList{"kelvane-config", "--frobnicate"} << 2 << QStringLiteral("kelvane-config: Unknown option 'frobnicate'.\n");
        QTest::newRow("--lang other than zh or en is bad input")
            << QStringList{"kelvane-config", "--lang", "de"} << 2 << QStringLiteral("--lang takes zh or en, not de\n");
        QTest::newRow("--lang without a value is bad input")
            << QStringList{"kelvane-config", "--lang"} << 2 << QStringLiteral("Missing value after '--lang'.");
        QTest::newRow("stray argument is bad input")
            << QStringList{"kelvane-config", "module.txt"} << 2 << QStringLiteral("unexpected argument: module.txt\n");
    }

    void answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, text);

        const auto read = readCommandLine(arguments);
        const auto *answer = std::get_if<Answer>(&read);
        QVERIFY(answer);
        QCOMPARE(answer->exitStatus, status);
        QVERIFY2(answer->text.contains(text), qPrintable(answer->text));
    }

    void plainLineRunsTheWindow()
    {
        QVERIFY(std::holds_alternative<WindowOptions>(readCommandLine({"kelvane-config"})));
        const auto english = readCommandLine({"kelvane-config", "--lang", "en"});
        QVERIFY(std::holds_alternative<WindowOptions>(english));
        QCOMPARE(std::get<WindowOptions>(english).language, "en");
    }

    // The program itself, with every way to a display taken away: help and version
    // must come before QApplication, which would abort without one.
    void programWithoutDisplay_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("output");

        QTest::newRow("--version") << QStringLiteral("--version")
                                   << QStringLiteral("kelvane-config ") + QLatin1String(Version) + QLatin1Char('\n');
        QTest::newRow("--help") << QStringLiteral("--help") << QStringLiteral("Usage: kelvane-config [options]\n");
    }

    void programWithoutDisplay()
    {
        QFETCH(QString, option);
        QFETCH(QString, output);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY"})
            environment.remove(QLatin1String(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(qEnvironmentVariable("KELVANE_BUILD_DIR") + QStringLiteral("/kelvane-config"), {option});
        QVERIFY(program.waitForFinished(10000));
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(out.startsWith(output), qPrintable(out));
        QCOMPARE(program.readAllStandardError(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
