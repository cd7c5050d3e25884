// The window in English: the exit question, what each operation logs, and no Chinese left in any
// caption, tooltip or item the operator can see.
#include "Appearance.h"
#include "MainForm.h"
#include "support/EngineRig.h"
#include "support/FakeLink.h"
#include "support/ManualTimer.h"
#include "support/TestClock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace kelvane;
using test::addr;

namespace {

bool hasChinese(const QString &text)
{
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return text.contains(han);
}

// Every text a control shows: caption, title, tooltip and items.
QStringList shownTexts(const QWidget &widget)
{
    QStringList texts{widget.toolTip()};
    if (const auto *label = qobject_cast<const QLabel *>(&widget))
        texts << label->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
        texts << button->text();
    if (const auto *group = qobject_cast<const QGroupBox *>(&widget))
        texts << group->title();
    if (const auto *combo = qobject_cast<const QComboBox *>(&widget)) {
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    }
    if (const auto *list = qobject_cast<const QListWidget *>(&widget)) {
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
    }
    return texts;
}

}  // namespace

struct Window {
    test::FakeLink link;
    test::ManualTimer timer;
    MainForm form{link, timer, &test::fixedNow};
    template<typename T = QWidget> T *find(const QString &name) { return form.findChild<T *>(name); }
    QString log() { return find<QPlainTextEdit>("Help_Text")->toPlainText(); }
    void click(const QString &name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void scan()
    {
        click("Scan");
        link.deliver(addr(1));
        while (timer.fire()) {
        }
    }
    void read()
    {
        QListWidget *list = find<QListWidget>("Device_List");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        for (const QByteArray &answer : test::Answers)
            link.deliver(addr(1) + answer);
    }
    void acks(int n)
    {
        for (int i = 0; i < n; ++i)
            link.deliver(addr(1) + "OK\r\n");
    }
};

class EnglishWindowTest : public QObject {
    Q_OBJECT

private slots:
    void noChineseAnywhereShown()
    {
        Window w;
        w.form.show();
        w.scan();
        w.read();
        QVERIFY(w.find<QListWidget>("Device_List")->count() == 1);
        const QList<QWidget *> widgets = w.form.findChildren<QWidget *>() << &w.form;
        for (const QWidget *widget : widgets) {
            for (const QString &text : shownTexts(*widget))
                QVERIFY2(!hasChinese(text), qPrintable(widget->objectName() + ": " + text));
        }
        QVERIFY2(!hasChinese(w.form.windowTitle()), qPrintable(w.form.windowTitle()));
        QVERIFY2(!hasChinese(w.log()), qPrintable(w.log()));
    }

    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addRow("scan button") << "Scan" << "Scan";
        QTest::addRow("write button") << "Setting" << "Write";
        QTest::addRow("restart button") << "Run_Device" << "Restart";
        QTest::addRow("exit button") << "Exit_Command" << "Exit";
        QTest::addRow("parameter label") << "Label14" << "Baud rate";
        QTest::addRow("group title") << "UART_Control" << "Serial port";
        QTest::addRow("start mode") << "Direct" << "Direct";
        QTest::addRow("address line") << "DISP_IP" << "Local IP: 192.0.2.1    Port:  65002";
        QTest::addRow("parity item") << "Set_Parity" << "None";
        QTest::addRow("socket mode item") << "Socket_Mode" << "TCP server";
    }

    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        Window w;
        QVERIFY(w.find(name));
        QCOMPARE(shownTexts(*w.find(name)).value(1), text);
    }

    void exitQuestion()
    {
        Window w;
        w.form.show();
        QVERIFY(QTest::qWaitForWindowActive(&w.form));
        QString title;
        QString question;
        QStringList buttons;
        QTimer::singleShot(0, &w.form, [&] {  // inside the question's own event loop
            QWidget *box = QApplication::activeModalWidget();
            QVERIFY(box);
            title = box->windowTitle();
            question = box->property("text").toString();
            QList<QAbstractButton *> shown = box->findChildren<QAbstractButton *>();
            std::sort(shown.begin(), shown.end(), [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
            for (QAbstractButton *button : shown)
                buttons << button->text().remove('&');
            QTest::keyClick(box, Qt::Key_Escape);
        });
        w.click("Exit_Command");
        QCOMPARE(title, "Exit");
        QCOMPARE(question, "Exit the configuration tool?");
        QCOMPARE(buttons, (QStringList{"OK", "Cancel"}));
    }

    void operationEntry_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("entry");
        // Numbers keep the room for a sign the log has always left before them.
        QTest::addRow("start-up") << "start" << "A scan may take a few seconds.";
        QTest::addRow("scan") << "scan" << "Found  1 module(s).";
        QTest::addRow("read") << "read" << "Read the parameters of module  1.";
        QTest::addRow("write") << "write" << "Wrote the parameters of module  1.";
        QTest::addRow("defaults") << "defaults"
                                  << "Module  1 restored its defaults; please read its parameters again!";
        QTest::addRow("reset") << "reset" << "Module  1 restarted.";
    }

    void operationEntry()
    {
        QFETCH(QString, operation);
        QFETCH(QString, entry);
        Window w;
        w.form.show();
        if (operation != "start")
            w.scan();
        if (operation != "start" && operation != "scan")
            w.read();
        if (operation == "write") {
            w.click("Setting");
            w.acks(int(test::Codes.size()));
        } else if (operation == "defaults") {
            w.click("L_Default");
            w.acks(1);
        } else if (operation == "reset") {
            w.click("Run_Device");
        }
        QVERIFY2(w.log().contains(entry), qPrintable(w.log()));
        QVERIFY2(!hasChinese(w.log()), qPrintable(w.log()));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(Language::English);
    EnglishWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_window_en.moc"
