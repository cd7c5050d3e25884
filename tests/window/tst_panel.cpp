// The window's controls behave as the plain-value panel does under the same
// calls, and keep the rules that only real widgets can break: typed text,
// pasted text, typing limits and the log pane.
#include "WindowFixture.h"

#include "core/HeadlessPanel.h"
#include "operations/Startup.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <functional>

using namespace kelvane;
using namespace kelvane::test;

namespace {

// One call on a panel; what it returns, if anything, goes into the comparison.
using Call = std::function<QString(Panel &)>;
using Script = QList<Call>;

const Control combos[] = {Control::Set_Baud_Rate, Control::Set_Stream_Control, Control::Set_Bits,
                          Control::Set_Parity, Control::Set_Stopbit, Control::Disp_Mode,
                          Control::Socket_Mode, Control::Ethernet_Mode};
const Control textBoxes[] = {Control::Set_Time_Delimiter, Control::Set_Byte_Delimiter, Control::G_IP,
                             Control::MASK, Control::S_IP, Control::Port_Number, Control::D_IP, Control::D_Port,
                             Control::User_ID, Control::User_Password};
const Control options[] = {Control::Direct, Control::PPPOE, Control::DHCP};

// Everything a panel shows, one line per fact, so a difference names the control.
QStringList snapshot(const Panel &panel)
{
    QStringList facts;
    for (int i = 0; i <= int(Control::User_Password); ++i)
        facts << controlName(Control(i)) + QStringLiteral(" enabled ") + QString::number(panel.isEnabled(Control(i)));
    for (Control c : combos)
        facts << controlName(c) + QStringLiteral(" index %1 text '%2'").arg(panel.selectedIndex(c)).arg(panel.text(c));
    for (Control c : textBoxes)
        facts << controlName(c) + QStringLiteral(" text '%1'").arg(panel.text(c));
    for (Control c : options)
        facts << controlName(c) + QStringLiteral(" checked ") + QString::number(panel.isChecked(c));
    for (int row = 0; row < panel.deviceRowCount(); ++row)
        facts << QStringLiteral("device %1 '%2'").arg(row).arg(panel.deviceText(row));
    facts << QStringLiteral("selected device %1").arg(panel.selectedDeviceRow());
    facts << QStringLiteral("log '%1'").arg(panel.logText());
    return facts;
}

// A click in the list selects; the panel interface itself never does.
void pickDevice(Panel &panel, int row)
{
    if (auto *headless = dynamic_cast<HeadlessPanel *>(&panel))
        headless->selectDeviceRow(row);
    else if (auto *form = dynamic_cast<MainForm *>(&panel))
        form->findChild<QListWidget *>(QStringLiteral("Device_List"))->setCurrentRow(row);
}

Call select(Control c, int index)
{
    return [=](Panel &p) { return QStringLiteral("select %1").arg(p.selectIndex(c, index)); };
}
Call setText(Control c, const QString &text)
{
    return [=](Panel &p) { p.setText(c, text); return QString(); };
}
Call check(Control c, bool on)
{
    return [=](Panel &p) { p.setChecked(c, on); return QString(); };
}
Call enable(Control c, bool on)
{
    return [=](Panel &p) { p.setEnabled(c, on); return QString(); };
}
Call devices(const QStringList &items)
{
    return [=](Panel &p) { for (const QString &item : items) p.appendDevice(item); return QString(); };
}
Call pick(int row)
{
    return [=](Panel &p) { pickDevice(p, row); return QString(); };
}
Call removeDevice(int row)
{
    return [=](Panel &p) { p.removeDevice(row); return QString(); };
}
Call replaceLog(const QString &text)
{
    return [=](Panel &p) { p.replaceLog(text); return QString(); };
}
Call appendLog(const QString &text)
{
    return [=](Panel &p) { p.appendLog(text); return QString(); };
}

}  // namespace

Q_DECLARE_METATYPE(Script)

class PanelTest : public QObject {
    Q_OBJECT
private slots:
    void sameAsHeadless_data();
    void sameAsHeadless();
    void typedComboText_data();
    void typedComboText();
    void singleByteText_data();
    void singleByteText();
    void longTextFromModule();
    void logKeepsEarlierText();
    void logDoesNotScroll();
    void removedDeviceLeavesNoSelection();
    void passwordBox();
};

void PanelTest::sameAsHeadless_data()
{
    QTest::addColumn<Script>("script");

    const auto sb = Control::Set_Baud_Rate;
    QTest::newRow("select, then none") << Script{select(sb, 3), select(sb, -1)};
    QTest::newRow("select past the end") << Script{select(Control::Set_Parity, 1), select(Control::Set_Parity, 3)};
    QTest::newRow("text of no item, then none") << Script{setText(Control::Disp_Mode, QStringLiteral("abc")), select(Control::Disp_Mode, -1)};
    QTest::newRow("select below -1") << Script{select(sb, 9), select(sb, -2)};
    QTest::newRow("last baud rate") << Script{select(sb, 9)};
    QTest::newRow("text of an item") << Script{setText(Control::Set_Bits, QStringLiteral("9"))};
    QTest::newRow("text of no item") << Script{select(Control::Disp_Mode, 1), setText(Control::Disp_Mode, QStringLiteral("abc"))};
    QTest::newRow("empty text") << Script{select(Control::Socket_Mode, 2), setText(Control::Socket_Mode, QString())};
    QTest::newRow("case matters") << Script{setText(sb, QStringLiteral("9600BPS"))};
    QTest::newRow("text boxes") << Script{setText(Control::S_IP, QStringLiteral("192.168.0.7")),
                                          setText(Control::Port_Number, QStringLiteral("8080")),
                                          setText(Control::S_IP, QString())};
    QTest::newRow("longer than the typing limit") << Script{setText(Control::Set_Time_Delimiter, QStringLiteral("-16-16-16-16"))};
    QTest::newRow("one option at a time") << Script{check(Control::Direct, true), check(Control::PPPOE, true)};
    QTest::newRow("clear the checked option") << Script{check(Control::DHCP, true), check(Control::DHCP, false)};
    QTest::newRow("clear another option") << Script{check(Control::DHCP, true), check(Control::Direct, false)};
    QTest::newRow("still one group after a clear") << Script{check(Control::PPPOE, true), check(Control::PPPOE, false),
                                                             check(Control::DHCP, true), check(Control::Direct, true)};
    QTest::newRow("frames and their fields") << Script{enable(Control::UART_Control, true), enable(Control::Set_Bits, false),
                                                       enable(Control::UART_Control, false), enable(Control::Device_List, false)};
    QTest::newRow("devices") << Script{devices({QStringLiteral("设备 ( 000000000001 )"), QStringLiteral("设备 ( 000000000002 )")})};
    QTest::newRow("remove the selected device") << Script{devices({"a", "b", "c"}), pick(1), removeDevice(1)};
    QTest::newRow("remove the last, selected") << Script{devices({"a", "b", "c"}), pick(2), removeDevice(2)};
    QTest::newRow("remove one above the selection") << Script{devices({"a", "b", "c"}), pick(2), removeDevice(0)};
    QTest::newRow("remove one below the selection") << Script{devices({"a", "b", "c"}), pick(0), removeDevice(2)};
    QTest::newRow("remove with nothing selected") << Script{devices({"a", "b"}), removeDevice(0)};
    QTest::newRow("remove the only device") << Script{devices({"a"}), pick(0), removeDevice(0)};
    QTest::newRow("log replaced, then appended") << Script{replaceLog(QStringLiteral("a\r\nb")), appendLog(QStringLiteral("c")),
                                                           appendLog(QStringLiteral("d\r\ne"))};
    QTest::newRow("append to the start text") << Script{appendLog(QStringLiteral("2026-12-06 09:05:07\r\n检测到 1个设备。"))};
    QTest::newRow("append to an empty log") << Script{replaceLog(QString()), appendLog(QStringLiteral("x"))};
    QTest::newRow("message alone") << Script{replaceLog(QStringLiteral("读取串口通信波特率错误！"))};
    QTest::newRow("empty lines inside") << Script{replaceLog(QStringLiteral("a\r\n\r\nb")), appendLog(QString())};
}

void PanelTest::sameAsHeadless()
{
    QFETCH(Script, script);

    Window w;
    HeadlessPanel headless;
    FakeLink link;
    ManualTimer timer;
    Machine machine(headless, link, timer, &fixedNow);
    startUp(machine);
    QCOMPARE(snapshot(*w.form), snapshot(headless));

    QStringList formNotes, headlessNotes;
    for (const Call &call : script) {
        formNotes << call(*w.form);
        headlessNotes << call(headless);
    }
    QCOMPARE(formNotes, headlessNotes);
    QCOMPARE(snapshot(*w.form), snapshot(headless));
}

void PanelTest::typedComboText_data()
{
    QTest::addColumn<int>("selectedBefore");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("index");

    QTest::newRow("part of an item") << -1 << "96" << -1;
    QTest::newRow("a whole item") << -1 << "9600bps" << 3;
    QTest::newRow("no item") << -1 << "9601" << -1;
    QTest::newRow("more after a selected item") << 3 << "0" << -1;
    QTest::newRow("back to the item") << 3 << "0\b" << 3;
    QTest::newRow("Chinese that is no item") << -1 << "中" << -1;
}

void PanelTest::typedComboText()
{
    QFETCH(int, selectedBefore);
    QFETCH(QString, typed);
    QFETCH(int, index);

    Window w;
    QVERIFY(w.showActive());
    w.openFrames();
    QVERIFY(w.form->selectIndex(Control::Set_Baud_Rate, selectedBefore));
    auto *box = w.find<QComboBox>("Set_Baud_Rate");
    box->setFocus();
    box->lineEdit()->end(false);
    const QString before = box->currentText();
    for (QChar c : typed) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            typeText(box, QString(c));
    }

    QString shown = before + typed;
    while (shown.contains(QLatin1Char('\b')))
        shown.remove(shown.indexOf(QLatin1Char('\b')) - 1, 2);
    QCOMPARE(w.form->text(Control::Set_Baud_Rate), shown);
    QCOMPARE(w.form->selectedIndex(Control::Set_Baud_Rate), index);
    QCOMPARE(box->count(), 10);  // typing never adds an item
}

void PanelTest::singleByteText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("kept");

    QTest::newRow("address") << "S_IP" << "192.168.0.7" << "192.168.0.7";
    QTest::newRow("blanks") << "D_IP" << "1 2" << "1 2";
    QTest::newRow("Latin-1 letter") << "Set_Byte_Delimiter" << "aé" << "aé";
    QTest::newRow("Chinese") << "G_IP" << "中" << "";
    QTest::newRow("Chinese among digits") << "MASK" << "1中2" << "";
    QTest::newRow("euro sign") << "D_Port" << "€" << "";
    QTest::newRow("time delimiter") << "Set_Time_Delimiter" << "文" << "";
    QTest::newRow("port") << "Port_Number" << "ü" << "ü";
}

void PanelTest::singleByteText()
{
    QFETCH(QString, name);
    QFETCH(QString, input);
    QFETCH(QString, kept);

    Window w;
    QVERIFY(w.showActive());
    w.openFrames();
    auto *box = w.find<QLineEdit>(name);

    // Typed a character at a time: refused characters are left out.
    box->setFocus();
    typeText(box, input);
    QString typedKept;
    for (QChar c : input)
        if (c.unicode() <= 0xFF)
            typedKept += c;
    QCOMPARE(box->text(), typedKept);

    // Pasted: all or nothing.
    box->clear();
    QGuiApplication::clipboard()->setText(input);
    box->paste();
    QCOMPARE(box->text(), kept);
}

void PanelTest::longTextFromModule()
{
    // A module may answer more than the user could type; it shows whole, and
    // the user can shorten it but not lengthen it.
    Window w;
    QVERIFY(w.showActive());
    w.openFrames();
    w.form->setText(Control::Set_Time_Delimiter, QStringLiteral("-16-16"));
    QCOMPARE(w.form->text(Control::Set_Time_Delimiter), QStringLiteral("-16-16"));

    auto *box = w.find<QLineEdit>("Set_Time_Delimiter");
    box->setFocus();
    box->end(false);
    QTest::keyClicks(box, QStringLiteral("7"));
    QCOMPARE(box->text(), QStringLiteral("-16-16"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("-16"));
    QTest::keyClicks(box, QStringLiteral("789"));
    QCOMPARE(box->text(), QStringLiteral("-167"));

    // Back within the limit, the limit holds again.
    w.form->setText(Control::Set_Time_Delimiter, QStringLiteral("12"));
    box->end(false);
    QTest::keyClicks(box, QStringLiteral("3456"));
    QCOMPARE(box->text(), QStringLiteral("1234"));
}

void PanelTest::logKeepsEarlierText()
{
    // Appending adds to the pane; it does not set the whole text again.
    Window w;
    auto *pane = w.find<QPlainTextEdit>("Help_Text");
    pane->document()->firstBlock().setUserState(42);
    for (int i = 0; i < 200; ++i)
        w.form->appendLog(QStringLiteral("entry\r\nline %1").arg(i));
    QCOMPARE(pane->document()->firstBlock().userState(), 42);
    QCOMPARE(pane->document()->blockCount(), 4 + 400);
    QVERIFY(w.form->logText().endsWith(QStringLiteral("\r\nentry\r\nline 199")));

    w.form->replaceLog(QStringLiteral("new"));
    QCOMPARE(w.form->logText(), QStringLiteral("new"));
}

void PanelTest::logDoesNotScroll()
{
    Window w;
    QVERIFY(w.showActive());
    auto *pane = w.find<QPlainTextEdit>("Help_Text");
    for (int i = 0; i < 50; ++i)
        w.form->appendLog(QStringLiteral("line %1").arg(i));
    QScrollBar *bar = pane->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), 0);

    // Also a reader at the bottom stays where the last entry was.
    bar->setValue(bar->maximum());
    const int bottom = bar->value();
    for (int i = 0; i < 10; ++i)
        w.form->appendLog(QStringLiteral("more %1").arg(i));
    QCOMPARE(bar->value(), bottom);
    QVERIFY(bar->maximum() > bottom);
}

void PanelTest::removedDeviceLeavesNoSelection()
{
    // The view would hand the current item on to a neighbour.
    Window w;
    QVERIFY(w.showActive());
    auto *list = w.find<QListWidget>("Device_List");
    for (const char *item : {"a", "b", "c"})
        w.form->appendDevice(QLatin1String(item));
    list->setFocus();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(w.form->selectedDeviceRow(), 1);

    w.form->removeDevice(1);
    QCOMPARE(w.form->selectedDeviceRow(), -1);
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(list->currentRow(), -1);
    QCOMPARE(w.form->deviceText(1), QStringLiteral("c"));
}

void PanelTest::passwordBox()
{
    Window w;
    auto *box = w.find<QLineEdit>("User_Password");
    QCOMPARE(box->echoMode(), QLineEdit::Password);
    QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(box->inputMethodHints() & Qt::ImhHiddenText);
    QCOMPARE(w.find<QLineEdit>("User_ID")->echoMode(), QLineEdit::Normal);
}

QTEST_MAIN(PanelTest)
#include "tst_panel.moc"
