// SPDX-License-Identifier: Apache-2.0
// The modules table on the fake link: it follows the main list, applies and reads with the dialogs
// answered by the test, refuses before sending, cancels, locks the main window while it runs, and
// exports CSV.
#include "ApplyDialog.h"
#include "ModulesWindow.h"
#include "support/Profiles.h"
#include "support/WindowRig.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

using namespace kelvane;
using namespace kelvane::test;
using Status = ModulesModel::Status;

namespace {
DeviceAddress module(int i)
{
    return *DeviceAddress::fromFrame(addr(i));
}

const QByteArray Header = "position,address,source,card,card_address,ip_address,baud_rate,socket_mode,warnings,result";
}  // namespace

struct Table : WindowRig {
    QTemporaryDir dir;
    QString profilePath = dir.filePath("profile.json");
    QString csvPath = dir.filePath("modules.csv");
    std::optional<ApplyChoice> choice = ApplyChoice{{}, false, false, 8};
    QStringList messages;
    int asked = 0;
    ModulesWindow *window = nullptr;

    Table()
    {
        show();
        ctrl(Qt::Key_L);
        window = form.modules();
        window->setProfileChooser([this] { return profilePath; });
        window->setCsvChooser([this] { return csvPath; });
        window->setApplyAsker([this](int, const QString &) {
            ++asked;
            return choice;
        });
        window->setMessageShower([this](const QString &title, const QString &text) { messages << title + '\n' + text; });
        window->setConfirmer([](const QString &, const QString &) { return false; });
    }
    ModulesModel &model() { return window->model(); }
    void writeProfile(const QByteArray &bytes) { QVERIFY(!writeFile(dir, "profile.json", bytes).isEmpty()); }
    QStringList addresses()
    {
        QStringList shown;
        for (const ModuleRow &row : window->shownRows())
            shown << QString::number(row.position) + ' ' + row.module.toHex();
        return shown;
    }
    Status status(int i) { return model().status(model().rowOf(module(i))); }
    // The last frame sent to module i.
    QByteArray lastSentTo(int i)
    {
        for (auto frame = link.sent.crbegin(); frame != link.sent.crend(); ++frame) {
            if (frame->startsWith(addr(i)))
                return *frame;
        }
        return {};
    }
    // Module i answers each query of its job's read once it has gone out, as a module
    // does: a job waits a moment after each answer and drops what comes meanwhile.
    bool answerRead(int i)
    {
        for (int r = 0; r < ParameterCount; ++r) {
            if (!QTest::qWaitFor([&] { return lastSentTo(i) == queryFrame(r, i); }, 2000))
                return false;
            link.deliver(addr(i) + Answers[r] + "\r\n");
        }
        return true;
    }
    // Module i answers its job's read and acknowledges each of the 17 writes.
    bool answerJob(int i)
    {
        if (!answerRead(i) || !QTest::qWaitFor([&] { return status(i) == Status::Writing; }, 2000))
            return false;
        for (int r = 0; r < ParameterCount; ++r) {
            const QByteArray write = addr(i) + "AT" + Codes[r] + '=';
            if (!QTest::qWaitFor([&] { return lastSentTo(i).startsWith(write); }, 2000))
                return false;
            link.deliver(addr(i) + "OK\r\n");
        }
        return QTest::qWaitFor([&] { return status(i) == Status::Written; }, 2000);
    }
    QByteArray csv()
    {
        window->exportAction()->trigger();
        QFile file(csvPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Sent to module i since the list was cleared.
    int sentTo(int i)
    {
        return int(std::count_if(link.sent.begin(), link.sent.end(),
                                 [i](const QByteArray &frame) { return frame.startsWith(addr(i)); }));
    }
};

class ModulesTable : public QObject {
    Q_OBJECT

private slots:
    void opensOnceAndComesToTheFront();
    void followsScansAndResets();
    void selectsWhatTheFilterShows();
    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void locksTheMainWindowAndCancels();
    void readFillsTheValueColumns();
    void csvQuotesFields();
    void dialogStartsOnEnter();
};

void ModulesTable::opensOnceAndComesToTheFront()
{
    Table t;
    QVERIFY(t.window->isVisible());
    QVERIFY(!t.window->isModal());
    t.window->hide();
    // Device_List's menu holds the same entry, and opens the same window.
    QCOMPARE(t.list()->contextMenuPolicy(), Qt::ActionsContextMenu);
    t.list()->actions().value(0)->trigger();
    QCOMPARE(t.form.modules(), t.window);
    QVERIFY(t.window->isVisible());
}

// A reset module leaves the table; a second scan lists what is new after what is left.
void ModulesTable::followsScansAndResets()
{
    Table t;
    t.scan(3);
    t.form.engine().reset(module(2));
    t.click("Scan");
    t.link.deliver(addr(4));
    while (t.timer.fire()) {
    }
    QCOMPARE(t.addresses(), (QStringList{"1 001122334401", "2 001122334403", "3 001122334404"}));
}

// Ctrl+A selects what the filter leaves shown, and that is what an apply would take.
void ModulesTable::selectsWhatTheFilterShows()
{
    Table t;
    t.scan(3);
    t.window->findChild<QLineEdit *>("filter")->setText("334402");
    QCOMPARE(t.addresses(), QStringList{"2 001122334402"});
    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window));
    t.window->view()->setFocus();
    QTest::keyClick(t.window, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(t.window->selectedModules(), QList<DeviceAddress>{module(2)});
}

void ModulesTable::refusedBeforeSending_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("firstIp");
    QTest::addColumn<QString>("why");
    // A file that cannot be read, and a plan the fleet checks refuse.
    QTest::newRow("no such file") << QByteArray() << "" << "profile.json";
    QTest::newRow("past .254") << profileOf({{"baud_rate", "9600bps"}}) << "192.0.2.254" << ".254";
}

void ModulesTable::refusedBeforeSending()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, firstIp);
    QFETCH(QString, why);
    Table t;
    t.scan(3);
    if (!file.isNull())
        t.writeProfile(file);
    t.choice->firstIp = firstIp;
    t.window->view()->selectAll();
    t.link.sent.clear();
    t.window->applyAction()->trigger();
    QCOMPARE(t.messages.size(), 1);
    QVERIFY2(t.messages.first().startsWith("应用配置\n没有向任何模块发送数据：\n"), qPrintable(t.messages.first()));
    QVERIFY2(t.messages.first().contains(why), qPrintable(t.messages.first()));
    QTest::qWait(20);
    QCOMPARE(t.link.sent, QByteArrayList());
    QVERIFY(!t.form.presenter().commandsLocked());
    QCOMPARE(t.status(1), Status::None);
    // A file that cannot be read is refused before the dialog asks anything.
    QCOMPARE(t.asked, firstIp.isEmpty() ? 0 : 1);
}

// An apply locks the main window's commands and keeps its engine deaf while the jobs own the link.
// Cancelled as the first module ends, when the next would start: the other one being worked on goes
// to its end, nothing more starts, and the main window is as it was.
void ModulesTable::locksTheMainWindowAndCancels()
{
    Table t;
    t.scan(4);
    const QList<Control> commands = {Control::Scan, Control::Device_List, Control::L_Default, Control::Setting,
                                     Control::Run_Device};
    const auto enabled = [&] {
        QList<bool> states;
        for (Control c : commands)
            states << t.form.isEnabled(c);
        return states;
    };
    const QList<bool> before = enabled();
    QCOMPARE(before, (QList<bool>{true, true, false, false, false}));
    t.writeProfile(profileOf({{"baud_rate", "115200bps"}}));
    t.choice->parallel = 2;
    t.window->view()->selectAll();
    t.window->applyAction()->trigger();
    QVERIFY(t.window->running());
    QCOMPARE(enabled(), QList<bool>(commands.size(), false));
    QVERIFY(!t.window->applyAction()->isEnabled());
    QCOMPARE(t.status(3), Status::Waiting);
    t.link.deliver(addr(9));
    QCOMPARE(t.list()->count(), 4);
    QObject::connect(t.window->runner(), &FleetRunner::jobEnded, t.window->cancelAction(), &QAction::trigger);
    QVERIFY(t.window->cancelAction()->isEnabled());
    QVERIFY(t.answerJob(1));
    QVERIFY(!t.window->cancelAction()->isEnabled());
    QVERIFY(t.window->running());
    QVERIFY(t.answerJob(2));
    QTRY_VERIFY(!t.window->running());
    for (int i = 3; i <= 4; ++i) {
        QCOMPARE(t.sentTo(i), 0);
        QCOMPARE(t.status(i), Status::NotStarted);
    }
    QCOMPARE(enabled(), before);
    t.link.deliver(addr(9));
    QCOMPARE(t.list()->count(), 5);
    const QList<QByteArray> lines = t.csv().split('\n');
    QCOMPARE(lines[1], "1,001122334401,,,,010.000.000.007,115200bps,UDP模式1,,written");
    QCOMPARE(lines[4], "4,001122334404,,,,,,,,not-started");
    QCOMPARE(t.window->findChild<QLabel *>("summary")->text(), QString("2 个成功，0 个失败，2 个未开始"));
}

void ModulesTable::readFillsTheValueColumns()
{
    Table t;
    t.scan(2);
    t.window->view()->selectRow(1);
    t.window->readAction()->trigger();
    QVERIFY(t.window->running());
    QVERIFY(t.answerRead(2));
    QTRY_VERIFY(!t.window->running());
    QCOMPARE(t.status(2), Status::Read);
    QCOMPARE(t.status(1), Status::None);
    QCOMPARE(t.sentTo(1), 0);
    // Nothing but the 17 queries and no write: a read-only job.
    QCOMPARE(t.sentTo(2), ParameterCount);
    const QList<QByteArray> lines = t.csv().split('\n');
    QCOMPARE(lines[2], "2,001122334402,,,,010.000.000.007,9600bps,UDP模式1,,read");
    QCOMPARE(lines[1], "1,001122334401,,,,,,,,");
}

// A field holding a comma or a quote is quoted, its quotes doubled; warnings join with ';'.
void ModulesTable::csvQuotesFields()
{
    ModuleRow row;
    row.module = module(1);
    row.position = 7;
    row.source = "192.0.2.2";
    row.card = {"say \"x\", y", "192.0.2.1", 24};
    row.warnings = {{"duplicate-ip", "text, with a comma"}, {"other-subnet", "text"}};
    row.result = "ok";
    QCOMPARE(modulesCsv({row}), Header + "\n7,001122334401,192.0.2.2,\"say \"\"x\"\", y\",192.0.2.1,,,,duplicate-ip;other-subnet,ok\n");
}

void ModulesTable::dialogStartsOnEnter()
{
    ApplyDialog dialog(3, "/tmp/line3.json");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), dialog.firstIpEdit());
    QTest::keyClicks(dialog.firstIpEdit(), "192.0.2.50");
    auto *reset = dialog.findChildren<QCheckBox *>().last();
    auto *verify = dialog.findChildren<QCheckBox *>().first();
    QVERIFY(verify->isChecked());
    QVERIFY(!reset->isChecked());
    verify->setChecked(false);
    reset->setChecked(true);
    // A restart follows a verified write only.
    QVERIFY(verify->isChecked());
    QVERIFY(!verify->isEnabled());
    dialog.firstIpEdit()->setFocus();
    QTest::keyClick(dialog.firstIpEdit(), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const ApplyChoice choice = dialog.choice();
    QCOMPARE(choice.firstIp, QString("192.0.2.50"));
    QVERIFY(choice.verify);
    QVERIFY(choice.reset);
    QCOMPARE(choice.parallel, 8);
}

QTEST_MAIN(ModulesTable)
#include "tst_modules.moc"
