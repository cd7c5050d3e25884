// Closing the window, by every road, and the keys that stand for buttons.
#include "WindowFixture.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

using namespace kelvane;
using namespace kelvane::test;

namespace {
enum class Road { ExitButton, Escape, CloseBox };

const QByteArray exitFrame = QByteArray::fromHex("FFFFFFFFFFFF454E44");
}  // namespace

class ExitTest : public QObject {
    Q_OBJECT
private slots:
    void exit_data();
    void exit();
    void question();
    void enterKey_data();
    void enterKey();
};

void ExitTest::exit_data()
{
    QTest::addColumn<Road>("road");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QByteArrayList>("sent");

    const QByteArrayList farewell{exitFrame};
    QTest::newRow("Exit_Command, OK") << Road::ExitButton << QMessageBox::Ok << farewell;
    QTest::newRow("Exit_Command, Cancel") << Road::ExitButton << QMessageBox::Cancel << QByteArrayList();
    QTest::newRow("Esc, OK") << Road::Escape << QMessageBox::Ok << farewell;
    QTest::newRow("Esc, Cancel") << Road::Escape << QMessageBox::Cancel << QByteArrayList();
    QTest::newRow("close box, OK") << Road::CloseBox << QMessageBox::Ok << farewell;
    QTest::newRow("close box, Cancel") << Road::CloseBox << QMessageBox::Cancel << QByteArrayList();
}

void ExitTest::exit()
{
    QFETCH(Road, road);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QByteArrayList, sent);

    Window w;
    QVERIFY(w.showActive());
    w.openFrames();
    ExitAnswer reply(answer);
    switch (road) {
    case Road::ExitButton:
        QTest::mouseClick(w.find("Exit_Command"), Qt::LeftButton);
        break;
    case Road::Escape:
        // From a text box, which keeps Esc to itself in many toolkits.
        w.find("S_IP")->setFocus();
        QTest::keyClick(w.find("S_IP"), Qt::Key_Escape);
        break;
    case Road::CloseBox:
        w.form->windowHandle()->close();
        break;
    }

    QVERIFY(reply.question().asked);
    QCOMPARE(w.link.sent, sent);
    // Closed whatever the answer.
    QTRY_VERIFY(!w.form->isVisible());
}

void ExitTest::question()
{
    Window w;
    QVERIFY(w.showActive());
    ExitAnswer reply(QMessageBox::Cancel);
    w.form->close();

    const ExitQuestion &asked = reply.question();
    QVERIFY(asked.asked);
    QCOMPARE(asked.title, QStringLiteral("退出"));
    QCOMPARE(asked.text, QStringLiteral("确认退出配置系统！"));
    QCOMPARE(asked.icon, QMessageBox::NoIcon);
    QCOMPARE(asked.buttons.size(), 2);
    QVERIFY(asked.buttons.contains(QMessageBox::Ok));
    QVERIFY(asked.buttons.contains(QMessageBox::Cancel));
    QCOMPARE(asked.defaultButton, QMessageBox::Ok);
    QVERIFY(asked.okFirst);
}

void ExitTest::enterKey_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<bool>("settingEnabled");
    QTest::addColumn<QString>("clicked");

    QTest::newRow("text box") << "G_IP" << Qt::Key_Return << true << "Setting";
    QTest::newRow("keypad Enter") << "Set_Time_Delimiter" << Qt::Key_Enter << true << "Setting";
    QTest::newRow("combo box") << "Set_Baud_Rate" << Qt::Key_Return << true << "Setting";
    QTest::newRow("option button") << "PPPOE" << Qt::Key_Return << true << "Setting";
    QTest::newRow("device list") << "Device_List" << Qt::Key_Return << true << "Setting";
    QTest::newRow("status pane") << "Help_Text" << Qt::Key_Return << true << "Setting";
    QTest::newRow("Setting locked") << "G_IP" << Qt::Key_Return << false << "";
    QTest::newRow("a button clicks itself") << "Scan" << Qt::Key_Return << true << "Scan";
    QTest::newRow("Setting itself") << "Setting" << Qt::Key_Return << true << "Setting";
}

void ExitTest::enterKey()
{
    QFETCH(QString, focus);
    QFETCH(Qt::Key, key);
    QFETCH(bool, settingEnabled);
    QFETCH(QString, clicked);

    Window w;
    QVERIFY(w.showActive());
    w.openFrames();
    w.form->setEnabled(Control::Setting, settingEnabled);

    QList<QPushButton *> buttons = w.form->findChildren<QPushButton *>();
    QList<std::shared_ptr<QSignalSpy>> spies;
    for (QPushButton *button : buttons)
        spies << std::make_shared<QSignalSpy>(button, &QPushButton::clicked);

    QWidget *target = w.find(focus);
    target->setFocus();
    QVERIFY(target->hasFocus());
    QTest::keyClick(target, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);

    QStringList pressed;
    for (int i = 0; i < buttons.size(); ++i)
        if (!spies.at(i)->isEmpty())
            pressed << buttons.at(i)->objectName() + QStringLiteral(" x%1").arg(spies.at(i)->size());
    QCOMPARE(pressed, clicked.isEmpty() ? QStringList() : QStringList{clicked + QStringLiteral(" x1")});
    QVERIFY(w.form->isVisible());
}

QTEST_MAIN(ExitTest)
#include "tst_exit.moc"
