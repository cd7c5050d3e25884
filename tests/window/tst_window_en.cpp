// SPDX-License-Identifier: Apache-2.0
// The window in English: the exit question, what each operation logs, and no Chinese left in any
// caption, tooltip or item the operator can see.
#include "Appearance.h"
#include "protocol/Catalogue.h"
#include "support/WindowRig.h"

#include <QComboBox>
#include <QRegularExpression>

using namespace kelvane;
using test::WindowRig;

namespace {

const QRegularExpression Han(QStringLiteral("\\p{Han}"));

// Every text a control shows: tooltip, caption or title, window title and items.
QStringList shownTexts(const QWidget &widget)
{
    QStringList texts{widget.toolTip(), widget.property("text").toString(), widget.property("title").toString(),
                      widget.windowTitle()};
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

class EnglishWindowTest : public QObject {
    Q_OBJECT

private slots:
    // Every operation once, then the exit question: no Chinese in any caption, tooltip, item, log entry
    // or box.
    void noChineseAnywhereShown()
    {
        WindowRig w;
        w.form.show();
        QStringList logs{w.form.logText()};
        w.scan(1);
        logs << w.form.logText();
        w.clickRow(0);
        w.answerAll(1);
        logs << w.form.logText();
        // Captions, tooltips and items come from the window's own code as well as from its layout.
        const QList<QWidget *> widgets = w.form.findChildren<QWidget *>() << &w.form;
        for (const QWidget *widget : widgets) {
            for (const QString &text : shownTexts(*widget))
                QVERIFY2(!text.contains(Han), qPrintable(widget->objectName() + ": " + text));
        }
        w.click("Setting");
        w.acks(ParameterCount);
        logs << w.form.logText();
        w.click("L_Default");
        w.acks(1);
        logs << w.form.logText();
        w.click("Run_Device");
        logs << w.form.logText();
        const QString log = logs.join('\n');
        QVERIFY2(!log.contains(Han), qPrintable(log));
        // Numbers keep the room for a sign the log has always left before them.
        for (const char *entry : {"Found  1 module(s).", "Module  1 restarted."})
            QVERIFY2(log.contains(entry), qPrintable(log));
        QVERIFY(QTest::qWaitForWindowActive(&w.form));
        QStringList seen;
        test::answerNextModal(&w.form, seen, Qt::Key_Escape);
        w.click("Exit_Command");
        QCOMPARE(seen, (QStringList{"Exit", "Exit the configuration tool?", "OK", "Cancel"}));
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
