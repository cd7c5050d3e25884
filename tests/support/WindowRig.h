// SPDX-License-Identifier: Apache-2.0
// The window on the offscreen platform with a fake link, a manual Timer1 and the fixed clock, and the
// moves the window suites make on it.
#pragma once

#include "EngineRig.h"
#include "MainForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>


namespace kelvane::test {

struct WindowRig {
    FakeLink link;
    ManualTimer timer;
    MainForm form{link, timer, &fixedNow};

    template<typename T = QWidget> T *find(const QString &name) { return form.findChild<T *>(name); }
    // Shown and active, so that keys reach the window's shortcuts.
    bool show()
    {
        form.show();
        return QTest::qWaitForWindowActive(&form);
    }
    QListWidget *list() { return find<QListWidget>("Device_List"); }
    QPoint rowCentre(int row) { return list()->visualItemRect(list()->item(row)).center(); }
    void click(const QString &name) { QTest::mouseClick(find(name), Qt::LeftButton); }
    void clickRow(int row) { QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(row)); }
    void ctrl(Qt::Key key) { QTest::keyClick(&form, key, Qt::ControlModifier); }
    // Scan pressed, modules 1 .. n answer, and the four rounds run out.
    void scan(int modules)
    {
        click("Scan");
        for (int i = 1; i <= modules; ++i)
            link.deliver(addr(i));
        while (timer.fire()) {
        }
    }
    // Module i answers all 17 queries.
    void answerAll(int module)
    {
        for (const QByteArray &answer : Answers)
            link.deliver(addr(module) + answer);
    }
    // Scanned, and module 1 read: every control shows a value.
    void read()
    {
        scan(1);
        clickRow(0);
        answerAll(1);
    }
    void acks(int count)
    {
        for (int i = 0; i < count; ++i)
            link.deliver(addr(1) + "OK\r\n");
    }
};

// Reads the next modal box inside its own event loop into `seen` (title, text, then its buttons from
// left to right), then answers it with the key.
inline void answerNextModal(QObject *context, QStringList &seen, Qt::Key key)
{
    QTimer::singleShot(0, context, [&seen, key] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(box);
        seen << box->windowTitle() << box->property("text").toString();
        QList<QAbstractButton *> shown = box->findChildren<QAbstractButton *>();
        std::sort(shown.begin(), shown.end(), [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
        for (QAbstractButton *button : shown)
            seen << button->text().remove('&');
        QTest::keyClick(box, key);
    });
}

}  // namespace kelvane::test
