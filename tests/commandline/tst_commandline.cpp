// SPDX-License-Identifier: Apache-2.0
// The window's command line: what each line asks for, and the real program answering
// on a console with no display.
#include "Appearance.h"
#include "CommandLine.h"
#include "core/Version.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

using namespace kelvane;

namespace {
const QString VersionLine = QStringLiteral("kelvane-config ") + QLatin1String(Version) + QLatin1Char('\n');
}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        nameApplication();
    }

    // status: 0 for help and version, 2 for bad input. text: a piece the answer must hold.
    void answers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const QStringList &arguments, int status, const QString &text) {
            QTest::newRow(name) << QStringList{"kelvane-config"} + arguments << status << text;
        };
        row("version", {"--version"}, 0, VersionLine);
        row("version beside an unknown option", {"--frobnicate", "--version"}, 0, VersionLine);
        row("help wins over version", {"--version", "--help"}, 0, "Usage:");
        row("unknown option", {"--frobnicate"}, 2, "kelvane-config: Unknown option 'frobnicate'.\n");
        row("language other than zh or en", {"--lang", "de"}, 2, "--lang takes zh or en, not de\n");
        row("stray argument", {"module.txt"}, 2, "unexpected argument: module.txt\n");
    }

    void answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, text);

        const auto read = readCommandLine(arguments);
        const auto *answer = std::get_if<EarlyAnswer>(&read);
        QVERIFY(answer);
        QCOMPARE(answer->exitStatus, status);
        QVERIFY2(answer->text.contains(text), qPrintable(answer->text));
    }

    void languageLineRunsTheWindow()
    {
        const auto english = readCommandLine({"kelvane-config", "--lang", "en"});
        QVERIFY(std::holds_alternative<WindowOptions>(english));
        QCOMPARE(std::get<WindowOptions>(english).language, "en");
    }

    // With every way to a display taken away: the version must be answered before
    // QApplication, which would abort without one.
    void versionWithoutDisplay()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY"})
            environment.remove(QLatin1String(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(qEnvironmentVariable("KELVANE_BUILD_DIR") + QStringLiteral("/kelvane-config"), {"--version"});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()), VersionLine);
        QCOMPARE(program.readAllStandardError(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
