// SPDX-License-Identifier: Apache-2.0
// Profiles from the window: Ctrl+S and Ctrl+O with the dialogs answered by the test, the frames'
// menu, when each is available, and that a file the window cannot take changes no control.
#include "Appearance.h"
#include "protocol/Catalogue.h"
#include "protocol/ParameterNames.h"
#include "support/Profiles.h"
#include "support/WindowRig.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QTemporaryDir>

using namespace kelvane;

namespace {
// A profile file's bytes: every parameter, each unlike what a read of test::Answers shows, and the one
// given.
QByteArray profile(const char *key, const QJsonValue &value)
{
    QJsonObject values;
    for (const Parameter &p : catalogue()) {
        if (p.kind == ValueKind::Choice)
            values.insert(parameterKey(p), p.items.first());
        else if (p.kind == ValueKind::Text)
            values.insert(parameterKey(p), p.answer == AnswerLayout::Address ? "7.7.7.7" : "7");
    }
    values.insert("start_mode", "direct");
    values.insert(key, value);
    return test::profileOf(values);
}
}  // namespace

// The window with its file dialogs and message boxes answered by the test.
struct Window : test::WindowRig {
    QTemporaryDir dir;
    QString savePath = dir.filePath("saved.json");
    QString loadPath = dir.filePath("loaded.json");
    int saveChoices = 0;
    int loadChoices = 0;
    QStringList messages;  // title, a line break, the text

    Window()
    {
        form.profiles().setSaveFileChooser([this] {
            ++saveChoices;
            return savePath;
        });
        form.profiles().setLoadFileChooser([this] {
            ++loadChoices;
            return loadPath;
        });
        form.profiles().setMessageShower([this](const QString &title, const QString &text) {
            messages << title + '\n' + text;
        });
    }
    void writeLoadFile(const QByteArray &bytes)
    {
        QFile file(loadPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Each parameter control as the window shows it, in catalogue order.
    QStringList shown()
    {
        QStringList lines;
        for (const Parameter &p : catalogue()) {
            if (p.kind == ValueKind::Choice)
                lines << controlName(p.control) + '=' + QString::number(form.selectedIndex(p.control));
            if (p.kind != ValueKind::StartMode)
                lines << controlName(p.control) + '=' + form.text(p.control);
        }
        for (Control c : {Control::Direct, Control::PPPOE, Control::DHCP})
            lines << controlName(c) + '=' + QString::number(form.isChecked(c));
        return lines;
    }
};

class ProfilesTest : public QObject {
    Q_OBJECT
private slots:
    // Saved from one window, loaded into another that shows nothing yet: every list on its last
    // item, DHCP, and texts padded, unpadded and at their bounds, in catalogue order. The file
    // holds all 17 under English keys, the values as the window shows them.
    void roundTripsEveryControl()
    {
        Window w;
        QVERIFY(w.show());
        w.read();
        QStringList texts{"0", "9999", "203.0.113.1", "255.255.255.000", "192.000.002.010", "65535", "0.0.0.0", "00001"};
        for (const Parameter &p : catalogue()) {
            if (p.kind == ValueKind::Choice)
                QVERIFY(w.form.selectIndex(p.control, int(p.items.size()) - 1));
            else if (p.kind == ValueKind::Text)
                w.form.setText(p.control, texts.takeFirst());
        }
        w.form.setChecked(Control::DHCP, true);
        w.ctrl(Qt::Key_S);
        QFile file(w.savePath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject parameters = QJsonDocument::fromJson(file.readAll())["parameters"].toObject();
        QCOMPARE(parameters.size(), ParameterCount);
        for (const QString &entry : QStringList{"baud_rate=600bps", "display_mode=兼容模式", "gateway=203.0.113.1",
                                                "destination_port=00001", "start_mode=dhcp"}) {
            const QString key = entry.section('=', 0, 0);
            QCOMPARE(key + '=' + parameters.value(key).toString(), entry);
        }

        Window other;
        QVERIFY(other.show());
        other.scan(1);
        const QByteArrayList sent = other.link.sent;
        other.loadPath = w.savePath;
        other.ctrl(Qt::Key_O);
        QCOMPARE(other.shown(), w.shown());
        // Loading only fills the controls; Setting writes.
        QCOMPARE(other.link.sent, sent);
    }

    // What the window refuses names the file and why, and changes no control: an item its list lacks
    // on loading, a value no list holds on saving (before a file is asked for), a file it cannot write.
    void refused_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("message");  // the start of it, %1 for the file
        QTest::addColumn<int>("asked");        // file choices made
        const QString notLoaded = "导入参数\n参数文件没有导入，窗口中的参数都没有改变：\n%1";
        const QString notSaved = "导出参数\n窗口中的参数不能导出：\n";
        QTest::newRow("load: item the window's list lacks")
            << "600bps" << Qt::Key_O << notLoaded + "：baud_rate：列表中没有“600bps”这一项" << 1;
        QTest::newRow("save: typed text no list holds")
            << "typed" << Qt::Key_S << notSaved + "波特率参数无效，请从列表中选择！" << 0;
        QTest::newRow("save: folder missing") << "no folder" << Qt::Key_S << "导出参数\n参数文件没有保存：\n%1: cannot be written" << 1;
    }

    void refused()
    {
        QFETCH(QString, change);
        QFETCH(Qt::Key, key);
        QFETCH(QString, message);
        QFETCH(int, asked);
        Window w;
        QVERIFY(w.show());
        w.read();
        // Named so that a message built by substitution would show.
        w.loadPath = w.dir.filePath("a%1b.json");
        w.savePath = w.dir.filePath("missing/saved.json");
        if (change == "600bps") {
            // Every reader takes 600bps; this window's list lacks it.
            auto *baud = w.find<QComboBox>("Set_Baud_Rate");
            baud->removeItem(baud->count() - 1);
            w.writeLoadFile(profile("baud_rate", "600bps"));
        } else if (change == "typed") {
            w.form.setText(Control::Set_Baud_Rate, "9601bps");
        }
        const QStringList before = w.shown();
        w.ctrl(key);
        QCOMPARE(w.messages.size(), 1);
        const QString path = key == Qt::Key_O ? w.loadPath : w.savePath;
        QVERIFY2(w.messages.first().startsWith(message.replace("%1", path)), qPrintable(w.messages.first()));
        QCOMPARE(w.saveChoices + w.loadChoices, asked);
        QCOMPARE(w.shown(), before);
    }

    // Saving needs a read's values; loading needs open frames and no scan, read or write running.
    // Ctrl+S and Ctrl+O ask for a file only then.
    void availability()
    {
        Window w;
        QVERIFY(w.show());
        QStringList states;
        const auto note = [&](const QString &state) {
            w.ctrl(Qt::Key_S);
            w.ctrl(Qt::Key_O);
            const bool save = w.form.profiles().saveAction()->isEnabled();
            const bool load = w.form.profiles().loadAction()->isEnabled();
            states << QString("%1: save %2%3, load %4%5").arg(state).arg(save).arg(w.saveChoices).arg(load).arg(w.loadChoices);
            w.saveChoices = 0;
            w.loadChoices = 0;
        };
        note("start");
        w.click("Scan");
        note("scanning");
        w.link.deliver(test::addr(1));
        while (w.timer.fire()) {
        }
        note("scanned");
        w.clickRow(0);
        note("reading");
        w.answerAll(1);
        note("read");
        w.click("Setting");
        note("writing");
        w.acks(ParameterCount);
        note("written");
        QCOMPARE(states, (QStringList{"start: save 00, load 00", "scanning: save 00, load 00",
                                      "scanned: save 00, load 11", "reading: save 00, load 00",
                                      "read: save 11, load 11", "writing: save 00, load 00",
                                      "written: save 11, load 11"}));
    }

    // A right click on each frame offers both, and the menu's entry works.
    void frameMenu()
    {
        Window w;
        QVERIFY(w.show());
        w.scan(1);
        for (const char *name : {"UART_Control", "Ethernet_Control", "Set_PPPOE"}) {
            QWidget *target = w.find(name);
            const QPoint at(3, 3);
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
            QApplication::sendEvent(target, &event);
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY2(menu, name);
            QStringList offered;
            for (QAction *action : menu->actions())
                offered << action->text() + ' ' + action->shortcut().toString() + ' ' + QString::number(action->isEnabled());
            QCOMPARE(offered, (QStringList{"导出参数… Ctrl+S 0", "导入参数… Ctrl+O 1"}));
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().at(1)).center());
            QTRY_VERIFY(!menu->isVisible());
        }
        QCOMPARE(w.loadChoices, 3);
    }

    // Without a test's hand, a file dialog asks: a name without suffix saves as .json, an existing
    // file is opened, and a refusal is a modal box over the window.
    void fileDialogsAndRefusalBox()
    {
        Window w;
        QVERIFY(w.show());
        w.read();
        w.form.profiles().setSaveFileChooser({});
        w.form.profiles().setLoadFileChooser({});
        w.form.profiles().setMessageShower({});
        QStringList asked;
        const auto answer = [&](const QString &file) {
            QTimer::singleShot(0, &w.form, [&, file] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                asked << dialog->windowTitle() + ' ' + QString::number(dialog->acceptMode());
                dialog->selectFile(file);
                static_cast<QDialog *>(dialog)->accept();  // QFileDialog hides it
            });
        };
        answer(w.dir.filePath("mine"));
        w.ctrl(Qt::Key_S);
        QVERIFY(QFile::exists(w.dir.filePath("mine.json")));
        // The offscreen platform leaves no window active after a dialog.
        w.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.form));
        w.writeLoadFile("[]");
        answer(w.loadPath);
        QStringList seen;
        QTimer::singleShot(0, &w.form, [&] { test::answerNextModal(&w.form, seen, Qt::Key_Escape); });
        w.ctrl(Qt::Key_O);
        QCOMPARE(asked, (QStringList{"导出参数 1", "导入参数 0"}));
        QCOMPARE(seen, (QStringList{"导入参数", "参数文件没有导入，窗口中的参数都没有改变：\n" + w.loadPath
                                                    + ": not a profile: expected a JSON object", "确定"}));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication();
    ProfilesTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_profiles.moc"
