// SPDX-License-Identifier: Apache-2.0
// The modules table on the fake link: it follows the main list, applies and reads with the dialogs
// answered by the test, refuses what the command line refuses before sending, cancels, locks the main
// window while it runs, and exports CSV.
#include "ApplyDialog.h"
#include "ModulesWindow.h"
#include "support/Profiles.h"
#include "support/WindowRig.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSortFilterProxyModel>
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
    void followsScansAndResets_data();
    void followsScansAndResets();
    void filtersAndSorts_data();
    void filtersAndSorts();
    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void locksTheMainWindowWhileItRuns();
    void cancelStopsNewModules();
    void readFillsTheValueColumns();
    void csvFields_data();
    void csvFields();
    void dialogStartsOnEnter();
};

void ModulesTable::opensOnceAndComesToTheFront()
{
    Table t;
    QVERIFY(t.window);
    QVERIFY(t.window->isVisible());
    QCOMPARE(t.window->windowTitle(), QString("模块一览 - Kelvane"));
    QVERIFY(!t.window->isModal());
    t.window->hide();
    t.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&t.form));
    t.ctrl(Qt::Key_L);
    QCOMPARE(t.form.modules(), t.window);
    QVERIFY(t.window->isVisible());
    // Device_List's menu holds the same entry.
    const QList<QAction *> menu = t.list()->actions();
    QCOMPARE(menu.size(), 1);
    QCOMPARE(menu.first()->text(), QString("模块一览…"));
    QCOMPARE(t.list()->contextMenuPolicy(), Qt::ActionsContextMenu);
}

void ModulesTable::followsScansAndResets_data()
{
    QTest::addColumn<int>("reset");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("first") << 1 << QStringList{"1 001122334402", "2 001122334403", "3 001122334404"};
    QTest::newRow("middle") << 2 << QStringList{"1 001122334401", "2 001122334403", "3 001122334404"};
    QTest::newRow("last") << 3 << QStringList{"1 001122334401", "2 001122334402", "3 001122334404"};
}

void ModulesTable::followsScansAndResets()
{
    QFETCH(int, reset);
    QFETCH(QStringList, after);
    Table t;
    QCOMPARE(t.model().rowCount(), 0);
    t.scan(3);
    QCOMPARE(t.addresses(), (QStringList{"1 001122334401", "2 001122334402", "3 001122334403"}));
    t.form.engine().reset(module(reset));
    // A second scan lists what is new after what is left.
    t.click("Scan");
    t.link.deliver(addr(4));
    while (t.timer.fire()) {
    }
    QCOMPARE(t.addresses(), after);
    QCOMPARE(t.model().rowCount(), t.list()->count());
}

void ModulesTable::filtersAndSorts_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("all, by position") << "" << int(ModulesModel::Position)
                                      << QStringList{"1 001122334401", "2 001122334402", "3 001122334403"};
    QTest::newRow("one address") << "334402" << int(ModulesModel::Position) << QStringList{"2 001122334402"};
    QTest::newRow("a result") << "未开始" << int(ModulesModel::Position) << QStringList{};
    QTest::newRow("by address, down") << "" << -int(ModulesModel::Address)
                                      << QStringList{"3 001122334403", "2 001122334402", "1 001122334401"};
}

void ModulesTable::filtersAndSorts()
{
    QFETCH(QString, filter);
    QFETCH(int, sortColumn);
    QFETCH(QStringList, shown);
    Table t;
    t.scan(3);
    t.window->findChild<QLineEdit *>("filter")->setText(filter);
    t.window->view()->sortByColumn(std::abs(sortColumn), sortColumn < 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
    QCOMPARE(t.addresses(), shown);
    // Ctrl+A selects what is shown, and that is what an apply would take.
    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window));
    t.window->view()->setFocus();
    QTest::keyClick(t.window, Qt::Key_A, Qt::ControlModifier);
    QStringList selected;
    for (const DeviceAddress &m : t.window->selectedModules())
        selected << m.toHex();
    QStringList expected;
    for (const QString &row : shown)
        expected << row.section(' ', 1);
    QCOMPARE(selected, expected);
}

void ModulesTable::refusedBeforeSending_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("firstIp");
    QTest::addColumn<QString>("why");
    const QByteArray good = profileOf({{"baud_rate", "9600bps"}});
    QTest::newRow("no such file") << QByteArray() << "" << "profile.json";
    QTest::newRow("unknown name") << profileOf({{"speed", "9600bps"}}) << "" << "speed";
    QTest::newRow("past .254") << good << "192.0.2.254" << ".254";
    QTest::newRow("the card's own address") << good << "192.0.2.1" << "network card";
    QTest::newRow("one address for all") << profileOf({{"ip_address", "192.000.002.050"}}) << ""
                                         << "is handed to";
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
    QVERIFY(!t.window->runner());
    QVERIFY(!t.form.presenter().commandsLocked());
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(t.status(i), Status::None);
    // A file that cannot be read is refused before the dialog asks anything.
    QCOMPARE(t.asked, firstIp.isEmpty() && !file.contains("ip_address") ? 0 : 1);
}

void ModulesTable::locksTheMainWindowWhileItRuns()
{
    Table t;
    t.scan(2);
    const QList<Control> commands = {Control::Scan, Control::Device_List, Control::L_Default, Control::Setting,
                                     Control::Run_Device};
    QList<bool> before;
    for (Control c : commands)
        before << t.form.isEnabled(c);
    QCOMPARE(before, (QList<bool>{true, true, false, false, false}));
    t.writeProfile(profileOf({{"baud_rate", "115200bps"}}));
    t.window->view()->selectAll();
    t.window->applyAction()->trigger();
    QVERIFY(t.window->running());
    for (Control c : commands)
        QVERIFY2(!t.form.isEnabled(c), qPrintable(controlName(c)));
    QVERIFY(!t.window->applyAction()->isEnabled());
    QVERIFY(t.window->cancelAction()->isEnabled());
    // The main engine hears nothing while the jobs own the link.
    t.link.deliver(addr(9));
    QCOMPARE(t.list()->count(), 2);
    QVERIFY(t.answerJob(1));
    QVERIFY(t.window->running());
    QVERIFY(t.answerJob(2));
    QTRY_VERIFY(!t.window->running());
    QList<bool> after;
    for (Control c : commands)
        after << t.form.isEnabled(c);
    QCOMPARE(after, before);
    t.link.deliver(addr(9));
    QCOMPARE(t.list()->count(), 3);
    QCOMPARE(t.window->findChild<QProgressBar *>("progress")->value(), 2);
}

void ModulesTable::cancelStopsNewModules()
{
    Table t;
    t.scan(20);
    t.writeProfile(profileOf({{"baud_rate", "115200bps"}}));
    t.choice->parallel = 2;
    t.window->view()->selectAll();
    t.window->applyAction()->trigger();
    QVERIFY(t.window->running());
    QCOMPARE(t.status(3), Status::Waiting);
    // Cancelled as the first module ends, when the next would start: the other one being
    // worked on goes to its end; nothing more starts.
    QObject::connect(t.window->runner(), &FleetRunner::jobEnded, t.window->cancelAction(), &QAction::trigger);
    QVERIFY(t.answerJob(1));
    QVERIFY(!t.window->cancelAction()->isEnabled());
    QVERIFY(t.window->running());
    QVERIFY(t.answerJob(2));
    QTRY_VERIFY(!t.window->running());
    for (int i = 3; i <= 20; ++i) {
        QCOMPARE(t.sentTo(i), 0);
        QCOMPARE(t.status(i), Status::NotStarted);
    }
    QVERIFY(!t.form.presenter().commandsLocked());
    const QList<QByteArray> lines = t.csv().split('\n');
    QCOMPARE(lines.size(), 22);
    QCOMPARE(lines[0], Header);
    QCOMPARE(lines[1], "1,001122334401,,,,010.000.000.007,115200bps,UDP模式1,,written");
    QCOMPARE(lines[20], "20,001122334414,,,,,,,,not-started");
    QCOMPARE(t.window->findChild<QLabel *>("summary")->text(), QString("2 个成功，0 个失败，18 个未开始"));
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

void ModulesTable::csvFields_data()
{
    QTest::addColumn<QString>("card");
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("plain") << "eth0" << QStringList{} << QByteArray("7,001122334401,192.0.2.2,eth0,192.0.2.1,,,,,ok");
    QTest::newRow("comma") << "a,b" << QStringList{"duplicate-ip"}
                           << QByteArray("7,001122334401,192.0.2.2,\"a,b\",192.0.2.1,,,,duplicate-ip,ok");
    QTest::newRow("quote") << "say \"x\"" << QStringList{"duplicate-ip", "other-subnet"}
                           << QByteArray("7,001122334401,192.0.2.2,\"say \"\"x\"\"\",192.0.2.1,,,,duplicate-ip;other-subnet,ok");
}

void ModulesTable::csvFields()
{
    QFETCH(QString, card);
    QFETCH(QStringList, warnings);
    QFETCH(QByteArray, line);
    ModuleRow row;
    row.module = module(1);
    row.position = 7;
    row.source = "192.0.2.2";
    row.card = {card, "192.0.2.1", 24};
    for (const QString &code : warnings)
        row.warnings.append({code, "text, with a comma"});
    row.result = "ok";
    QCOMPARE(modulesCsv({row}), Header + '\n' + line + '\n');
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
