// Profiles from the window: Ctrl+S and Ctrl+O with the dialogs answered by the test, the frames'
// menu, when each is available, and that a file the window cannot take changes no control.
#include "Appearance.h"
#include "MainForm.h"
#include "protocol/Catalogue.h"
#include "protocol/ParameterNames.h"
#include "support/EngineRig.h"
#include "support/FakeLink.h"
#include "support/ManualTimer.h"
#include "support/TestClock.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kelvane;
using test::addr;

namespace {
constexpr Control StartModes[] = {Control::Direct, Control::PPPOE, Control::DHCP};

// A profile file's bytes with these parameters.
QByteArray profileWith(const QJsonObject &parameters)
{
    return QJsonDocument(QJsonObject{{"format", "kelvane-profile"}, {"version", 1}, {"parameters", parameters}})
        .toJson();
}

// Every parameter, each unlike what a read of test::Answers shows.
QJsonObject otherValues()
{
    QJsonObject values;
    for (const Parameter &p : catalogue()) {
        if (p.kind == ValueKind::Choice)
            values.insert(parameterKey(p), p.items.first());
        else if (p.kind == ValueKind::Text)
            values.insert(parameterKey(p), "7");
    }
    values.insert("start_mode", "direct");
    return values;
}
}  // namespace

struct Window {
    test::FakeLink link;
    test::ManualTimer timer;
    MainForm form{link, timer, &test::fixedNow};
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
    template<typename T = QWidget> T *find(const QString &name) { return form.findChild<T *>(name); }
    bool show()
    {
        form.show();
        return QTest::qWaitForWindowActive(&form);
    }
    void scan(int modules)
    {
        QTest::mouseClick(find("Scan"), Qt::LeftButton);
        for (int i = 1; i <= modules; ++i)
            link.deliver(addr(i));
        while (timer.fire()) {
        }
    }
    void click(int row)
    {
        auto *list = find<QListWidget>("Device_List");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    // Scanned, and module 1 read: every control shows a value.
    void read()
    {
        scan(1);
        click(0);
        for (const QByteArray &answer : test::Answers)
            link.deliver(addr(1) + answer);
    }
    void ctrl(Qt::Key key) { QTest::keyClick(&form, key, Qt::ControlModifier); }
    void writeLoadFile(const QByteArray &bytes)
    {
        QFile file(loadPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Each parameter control as the widget shows it, in catalogue order.
    QStringList shown()
    {
        QStringList lines;
        for (const Parameter &p : catalogue()) {
            if (p.kind == ValueKind::StartMode) {
                QStringList checked;
                for (Control c : StartModes) {
                    if (find<QRadioButton>(controlName(c))->isChecked())
                        checked << controlName(c);
                }
                lines << "checked=" + checked.join(',');
                continue;
            }
            const QString name = controlName(p.control);
            if (auto *box = find<QComboBox>(name))
                lines << name + '=' + QString::number(box->currentIndex()) + ':' + box->currentText();
            else
                lines << name + '=' + find<QLineEdit>(name)->text();
        }
        return lines;
    }
    // Every parameter control away from what it showed.
    void disturb()
    {
        for (const Parameter &p : catalogue()) {
            if (p.kind == ValueKind::Choice) {
                auto *box = find<QComboBox>(controlName(p.control));
                box->setCurrentIndex((box->currentIndex() + 1) % box->count());
            } else if (p.kind == ValueKind::Text) {
                form.setText(p.control, form.text(p.control) + "x");
            }
        }
        form.setChecked(form.isChecked(Control::Direct) ? Control::DHCP : Control::Direct, true);
    }
};

class ProfilesTest : public QObject {
    Q_OBJECT
private slots:
    // items: which item every list shows before saving ("read": as the module answered).
    void roundTripsEveryControl_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<QString>("texts");  // null: as read
        QTest::addColumn<Control>("startMode");
        QTest::newRow("values as read, PPPoE") << "read" << QString() << Control::PPPOE;
        QTest::newRow("first items, empty texts, direct") << "first" << "" << Control::Direct;
        QTest::newRow("last items, quotes and Latin-1, DHCP") << "last" << "\"\\ÿ{}" << Control::DHCP;
        QTest::newRow("texts longer than the box's limit") << "read" << "0123456789012345678901234567890123456"
                                                           << Control::DHCP;
        QTest::newRow("texts holding %1 and %2") << "last" << "%1%2" << Control::Direct;
    }

    void roundTripsEveryControl()
    {
        QFETCH(QString, items);
        QFETCH(QString, texts);
        QFETCH(Control, startMode);
        Window w;
        QVERIFY(w.show());
        w.read();
        for (const Parameter &p : catalogue()) {
            if (p.kind == ValueKind::Choice && items != "read")
                QVERIFY(w.form.selectIndex(p.control, items == "first" ? 0 : int(p.items.size()) - 1));
            if (p.kind == ValueKind::Text && !texts.isNull())
                w.form.setText(p.control, texts);
        }
        w.form.setChecked(startMode, true);
        const QStringList before = w.shown();
        w.ctrl(Qt::Key_S);
        QCOMPARE(w.saveChoices, 1);
        QCOMPARE(w.messages, QStringList());

        w.disturb();
        const QStringList disturbed = w.shown();
        for (int i = 0; i < before.size(); ++i)
            QVERIFY2(disturbed[i] != before[i], qPrintable(before[i] + " not disturbed"));
        const QByteArrayList sent = w.link.sent;
        w.loadPath = w.savePath;
        w.ctrl(Qt::Key_O);
        QCOMPARE(w.loadChoices, 1);
        QCOMPARE(w.messages, QStringList());
        QCOMPARE(w.shown(), before);
        // Loading only fills the controls; Setting writes.
        QCOMPARE(w.link.sent, sent);
    }

    // English keys, the values as the window lists them, whatever the language.
    void savedFileHoldsTheShownValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("baud rate item") << "baud_rate" << "9600bps";
        QTest::newRow("Chinese item as listed") << "display_mode" << "正常显示";
        QTest::newRow("address as shown, zeros kept") << "gateway" << "192.168.000.001";
        QTest::newRow("port as shown") << "port" << "08080";
        QTest::newRow("start mode by name") << "start_mode" << "pppoe";
    }

    void savedFileHoldsTheShownValues()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        Window w;
        QVERIFY(w.show());
        w.read();
        w.ctrl(Qt::Key_S);
        QFile file(w.savePath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(root.value("format").toString(), "kelvane-profile");
        const QJsonObject parameters = root.value("parameters").toObject();
        QCOMPARE(parameters.size(), ParameterCount);
        QCOMPARE(parameters.value(key).toString(), value);
    }

    void badFileChangesNothing_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");  // null: no file at all
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("reason");
        const auto with = [](const char *key, const QJsonValue &value) {
            QJsonObject values = otherValues();
            values.insert(key, value);
            return profileWith(values);
        };
        QTest::newRow("missing file") << "none.json" << QByteArray() << "" << "cannot be read";
        QTest::newRow("not JSON") << "p.json" << QByteArray("{\"format\": ") << "" << "not JSON";
        QTest::newRow("another format") << "p.json" << QByteArray("{\"format\": \"x\"}") << "" << "format is";
        QTest::newRow("unknown parameter") << "p.json" << with("speed", "fast") << "speed" << "unknown parameter";
        QTest::newRow("item no list holds") << "p.json" << with("baud_rate", "9601bps") << "baud_rate"
                                            << "is not an item";
        QTest::newRow("index past the list") << "p.json" << with("stop_bits", "5") << "stop_bits" << "out of range";
        QTest::newRow("number for a text") << "p.json" << with("port", 8080) << "port" << "expected a text";
        QTest::newRow("character with no single byte") << "p.json" << with("gateway", "１") << "gateway"
                                                       << "no single-byte code";
        QTest::newRow("unknown start mode") << "p.json" << with("start_mode", "auto") << "start_mode"
                                            << "not a start mode";
        QTest::newRow("bad value after good ones") << "p.json" << with("ethernet_mode", "1G") << "ethernet_mode"
                                                   << "is not an item";
        QTest::newRow("file name holding %1") << "a%1b.json" << with("parity", "x") << "parity" << "is not an item";
    }

    void badFileChangesNothing()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, parameter);
        QFETCH(QString, reason);
        Window w;
        QVERIFY(w.show());
        w.read();
        w.loadPath = w.dir.filePath(fileName);
        if (!bytes.isNull())
            w.writeLoadFile(bytes);
        const QStringList before = w.shown();
        w.ctrl(Qt::Key_O);
        QCOMPARE(w.messages.size(), 1);
        const QString message = w.messages.first();
        QVERIFY2(message.startsWith("导入参数\n"), qPrintable(message));
        QVERIFY2(message.contains(w.loadPath), qPrintable(message));
        QVERIFY2(message.contains(parameter), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(w.shown(), before);
    }

    // A value every parser accepts but the window's list lacks: refused before any control changes.
    void itemMissingFromTheListChangesNothing()
    {
        Window w;
        QVERIFY(w.show());
        w.read();
        auto *baud = w.find<QComboBox>("Set_Baud_Rate");
        baud->removeItem(baud->count() - 1);
        QJsonObject values = otherValues();
        values.insert("baud_rate", "600bps");
        w.writeLoadFile(profileWith(values));
        const QStringList before = w.shown();
        w.ctrl(Qt::Key_O);
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages.first().contains(w.loadPath + "：baud_rate：列表中没有“600bps”这一项"),
                 qPrintable(w.messages.first()));
        QCOMPARE(w.shown(), before);
    }

    void saveRefusedWithoutEveryValue_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("typed text no list holds") << "typed" << "波特率参数无效，请从列表中选择！";
        QTest::newRow("module restarted, controls emptied") << "reset" << "波特率参数无效，请从列表中选择！";
        QTest::newRow("no start mode chosen") << "no start mode" << "运行设置参数无效，请选择一种启动方式！";
    }

    void saveRefusedWithoutEveryValue()
    {
        QFETCH(QString, change);
        QFETCH(QString, message);
        Window w;
        QVERIFY(w.show());
        w.read();
        if (change == "typed")
            w.form.setText(Control::Set_Baud_Rate, "9601bps");
        else if (change == "reset")
            QTest::mouseClick(w.find("Run_Device"), Qt::LeftButton);
        else
            w.form.setChecked(Control::PPPOE, false);
        w.ctrl(Qt::Key_S);
        QCOMPARE(w.saveChoices, 0);
        QCOMPARE(w.messages, QStringList{"导出参数\n窗口中的参数不能导出：\n" + message});
        QVERIFY(!QFile::exists(w.savePath));
    }

    void saveIntoAMissingFolderSaysSo()
    {
        Window w;
        QVERIFY(w.show());
        w.read();
        w.savePath = w.dir.filePath("missing/saved.json");
        w.ctrl(Qt::Key_S);
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages.first().startsWith("导出参数\n参数文件没有保存：\n" + w.savePath + ": cannot be written"),
                 qPrintable(w.messages.first()));
    }

    // Saving needs a read's values; loading needs open frames and no scan, read or write running.
    void availability_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("load");
        QTest::newRow("at start: neither") << "start" << false << false;
        QTest::newRow("scan running: neither") << "scanning" << false << false;
        QTest::newRow("scan found nothing: neither") << "none found" << false << false;
        QTest::newRow("after a scan: load only") << "scanned" << false << true;
        QTest::newRow("read running: neither") << "reading" << false << false;
        QTest::newRow("after a read: both") << "read" << true << true;
        QTest::newRow("read timed out: load only") << "read failed" << false << true;
        QTest::newRow("write running: neither") << "writing" << false << false;
        QTest::newRow("after a write: both") << "written" << true << true;
    }

    void availability()
    {
        QFETCH(QString, state);
        QFETCH(bool, save);
        QFETCH(bool, load);
        Window w;
        QVERIFY(w.show());
        if (state == "scanning") {
            QTest::mouseClick(w.find("Scan"), Qt::LeftButton);
        } else if (state == "none found") {
            w.scan(0);
        } else if (state == "scanned") {
            w.scan(1);
        } else if (state == "reading") {
            w.scan(1);
            w.click(0);
        } else if (state == "read") {
            w.read();
        } else if (state == "read failed") {
            w.scan(1);
            w.click(0);
            while (w.timer.fire()) {
            }
        } else if (state == "writing" || state == "written") {
            w.read();
            QTest::mouseClick(w.find("Setting"), Qt::LeftButton);
            for (int i = 0; state == "written" && i < ParameterCount; ++i)
                w.link.deliver(addr(1) + "OK\r\n");
        }
        QCOMPARE(w.form.profiles().saveAction()->isEnabled(), save);
        QCOMPARE(w.form.profiles().loadAction()->isEnabled(), load);
        // Cancelled dialogs: only whether they were asked for counts.
        w.savePath.clear();
        w.loadPath.clear();
        w.ctrl(Qt::Key_S);
        w.ctrl(Qt::Key_O);
        QCOMPARE(w.saveChoices, int(save));
        QCOMPARE(w.loadChoices, int(load));
    }

    // A right click on a frame, or on a label inside one, offers both.
    void frameMenu_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("serial frame") << "UART_Control";
        QTest::newRow("network frame") << "Ethernet_Control";
        QTest::newRow("run mode frame") << "Set_PPPOE";
        QTest::newRow("label in the serial frame") << "Label14";
    }

    void frameMenu()
    {
        QFETCH(QString, name);
        Window w;
        QVERIFY(w.show());
        w.scan(1);
        QWidget *target = w.find(name);
        QVERIFY(target);
        const QPoint at(3, 3);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QStringList offered;
        for (QAction *action : menu->actions())
            offered << action->text() + ' ' + action->shortcut().toString() + ' ' + QString::number(action->isEnabled());
        QCOMPARE(offered, (QStringList{"导出参数… Ctrl+S 0", "导入参数… Ctrl+O 1"}));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().at(1)).center());
        QCOMPARE(w.loadChoices, 1);
        QTRY_VERIFY(!menu->isVisible());
    }

    // Without a test's hand, a file dialog asks: a name without suffix saves as .json, and an
    // existing file is opened.
    void fileDialogs()
    {
        Window w;
        QVERIFY(w.show());
        w.read();
        w.form.profiles().setSaveFileChooser({});
        w.form.profiles().setLoadFileChooser({});
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

        QJsonObject values = otherValues();
        w.writeLoadFile(profileWith(values));
        answer(w.loadPath);
        w.ctrl(Qt::Key_O);
        QCOMPARE(asked, (QStringList{"导出参数 1", "导入参数 0"}));
        QCOMPARE(w.form.text(Control::Set_Baud_Rate), "1200bps");
        QCOMPARE(w.messages, QStringList());
    }

    // Without a test's hand, the refusal is a modal box over the window.
    void refusalIsAMessageBox()
    {
        Window w;
        QVERIFY(w.show());
        w.scan(1);
        w.form.profiles().setMessageShower({});
        w.writeLoadFile("[]");
        QString title;
        QString text;
        QTimer::singleShot(0, &w.form, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        w.ctrl(Qt::Key_O);
        QCOMPARE(title, "导入参数");
        QCOMPARE(text, "参数文件没有导入，窗口中的参数都没有改变：\n" + w.loadPath
                           + ": not a profile: expected a JSON object");
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
