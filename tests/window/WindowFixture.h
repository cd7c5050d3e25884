// A MainForm on a FakeLink, a ManualTimer and the fixed clock, and the means
// to find its controls and to answer its exit question.
#pragma once

#include "MainForm.h"
#include "support/FakeLink.h"
#include "support/ManualTimer.h"
#include "support/TestClock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <memory>

namespace kelvane::test {

struct Window {
    explicit Window(bool portTaken = false)
    {
        link.setPortTaken(portTaken);
        form = std::make_unique<MainForm>(link, timer, &fixedNow);
    }

    template<typename T = QWidget>
    T *find(const QString &name) const
    {
        T *widget = form->findChild<T *>(name);
        if (!widget)
            qWarning("no control %s", qPrintable(name));
        return widget;
    }

    // Shown and active, so that keys reach the window's shortcuts.
    bool showActive()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        return QTest::qWaitForWindowActive(form.get());
    }

    // The frames open, as after a scan that found modules.
    void openFrames()
    {
        for (Control c : {Control::UART_Control, Control::Ethernet_Control, Control::Set_PPPOE})
            form->setEnabled(c, true);
    }

    FakeLink link;
    ManualTimer timer;
    std::unique_ptr<MainForm> form;
};

// Types text as the keyboard would, a key per character; unlike
// QTest::keyClicks, also characters beyond ASCII.
inline void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// What the exit question looked like when it was answered.
struct ExitQuestion {
    bool asked = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool okFirst = false;  // OK stands left of Cancel
};

namespace detail {
struct ExitWatch {
    bool stopped = false;
    ExitQuestion question;
};

inline void watchForExitQuestion(std::shared_ptr<ExitWatch> watch, QMessageBox::StandardButton answer, int triesLeft)
{
    QTimer::singleShot(10, qApp, [watch, answer, triesLeft] {
        if (watch->stopped)
            return;
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            if (triesLeft > 0)
                watchForExitQuestion(watch, answer, triesLeft - 1);
            return;
        }
        watch->stopped = true;
        ExitQuestion &seen = watch->question;
        seen.asked = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton *button : box->buttons())
            seen.buttons.append(box->standardButton(button));
        const QAbstractButton *ok = box->button(QMessageBox::Ok);
        const QAbstractButton *cancel = box->button(QMessageBox::Cancel);
        seen.okFirst = ok && cancel && ok->mapToGlobal(QPoint()).x() < cancel->mapToGlobal(QPoint()).x();
        if (QPushButton *chosen = box->defaultButton())
            seen.defaultButton = box->standardButton(chosen);
        box->button(answer)->click();
    });
}
}  // namespace detail

// Watches for the modal exit question, for five seconds at most, and answers
// it once. Stops watching when it goes out of scope.
class ExitAnswer {
public:
    explicit ExitAnswer(QMessageBox::StandardButton answer)
    {
        detail::watchForExitQuestion(m_watch, answer, 500);
    }
    ~ExitAnswer() { m_watch->stopped = true; }
    ExitAnswer(const ExitAnswer &) = delete;
    ExitAnswer &operator=(const ExitAnswer &) = delete;

    const ExitQuestion &question() const { return m_watch->question; }

private:
    std::shared_ptr<detail::ExitWatch> m_watch = std::make_shared<detail::ExitWatch>();
};

}  // namespace kelvane::test
