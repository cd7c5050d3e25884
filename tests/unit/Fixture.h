// Shared set-up of the engine tests: a headless window, a fake socket and a
// Timer1 that expires only when a test says so, around one Engine on a fixed clock.
#pragma once

#include "core/HeadlessPanel.h"
#include "operations/Engine.h"
#include "support/FakeLink.h"
#include "support/ManualTimer.h"
#include "support/TestClock.h"

#include <QRegularExpression>
#include <QTest>

#include <array>

namespace kelvane::test {

// The address of made-up module i: 00 11 22 33 44 i.
inline QByteArray moduleAddress(int i)
{
    QByteArray address = QByteArray::fromHex("001122334400");
    address[5] = char(i);
    return address;
}

// The list text of moduleAddress(i), spelled out rather than built the engine's way.
inline QString moduleItem(int i)
{
    return QStringLiteral("设备 ( 0011223344%1 )").arg(i, 2, 16, QLatin1Char('0')).toUpper();
}

// A log entry stamped `seconds` after the fixed time (a Rig that ticks moves on).
inline QString entryAt(int seconds, const QStringList &lines)
{
    return fixedNow().addSecs(seconds).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
           QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n"));
}

inline QString entry(const QStringList &lines)
{
    return entryAt(0, lines);
}

// Several entries, the way appending joins them.
inline QString entries(const QList<QStringList> &list)
{
    QStringList all;
    for (const QStringList &lines : list)
        all << entry(lines);
    return all.join(QStringLiteral("\r\n"));
}

inline QString readStart(int n) { return QStringLiteral("读取设备 %1参数... ...").arg(n); }
inline QString readDone(int n) { return QStringLiteral("读取设备 %1参数成功！").arg(n); }
inline QString writeStart(int n) { return QStringLiteral("设置设备 %1的参数... ...").arg(n); }
inline QString writeDone(int n) { return QStringLiteral("设置设备 %1数据成功！").arg(n); }
inline QString writeFailed(int n) { return QStringLiteral("设置设备 %1参数不成功！").arg(n); }

// Query frame for module i: address, "AT", code, CR.
inline QByteArray queryFrame(int i, const char *code)
{
    return moduleAddress(i) + "AT" + code + '\r';
}

inline const QStringList &queryCodes()
{
    static const QStringList codes = {"UB", "UT", "UD", "TM", "UP", "BT", "US", "CM", "GA",
                                      "SM", "IP", "PT", "DA", "DP", "SR", "ET", "PD"};
    return codes;
}

// One answer of a well-behaved module, and what the window shows for it.
struct ReadRow {
    Control control;
    QByteArray payload;  // the bytes after the address
    int index;           // the item selected; -1 for a text box, which shows `written`
    QByteArray written;  // what writing the shown value sends back
};

// A full read of a module, in query order; the last row checks PPPOE.
inline const std::array<ReadRow, 17> &standardRead()
{
    using C = Control;
    static const std::array<ReadRow, 17> rows = {{
        {C::Set_Baud_Rate, "03\r\n", 3, "3"},
        {C::Set_Stream_Control, "01\r\n", 1, "1"},
        {C::Set_Bits, "09\r\n", 1, "9"},
        {C::Set_Time_Delimiter, "00012\r\n", -1, "0012"},
        {C::Set_Parity, "02\r\n", 2, "2"},
        {C::Set_Byte_Delimiter, "00034\r\n", -1, "0034"},
        {C::Set_Stopbit, "02\r\n", 1, "2"},
        {C::Disp_Mode, "01\r\n", 1, "1"},
        {C::G_IP, "192.168.000.001\r\n", -1, "192.168.000.001"},
        {C::MASK, "255.255.255.000\r\n", -1, "255.255.255.000"},
        {C::S_IP, "192.168.000.007\r\n", -1, "192.168.000.007"},
        {C::Port_Number, "08080\r\n", -1, "08080"},
        {C::D_IP, "192.168.000.100\r\n", -1, "192.168.000.100"},
        {C::D_Port, "00502\r\n", -1, "00502"},
        {C::Socket_Mode, "03\r\n", 3, "3"},
        {C::Ethernet_Mode, "05\r\n", 5, "5"},
        {C::PPPOE, "01\r\n", 1, "1"},
    }};
    return rows;
}

// Passes every call on to a HeadlessPanel and notes, in order, the calls
// whose order matters: lists filled, controls enabled or disabled, log writes.
class TracePanel final : public Panel {
public:
    explicit TracePanel(HeadlessPanel &panel) : inner(panel) {}

    void setEnabled(Control c, bool on) override
    {
        calls << (on ? QStringLiteral("enable ") : QStringLiteral("disable ")) + controlName(c);
        inner.setEnabled(c, on);
    }
    void addItems(Control c, const QStringList &items) override
    {
        calls << QStringLiteral("items ") + controlName(c);
        inner.addItems(c, items);
    }
    void replaceLog(const QString &t) override { calls << QStringLiteral("replace log"), inner.replaceLog(t); }
    void appendLog(const QString &t) override { calls << QStringLiteral("append log"), inner.appendLog(t); }
    void setAddressDisplay(const QString &t) override { calls << QStringLiteral("address"), inner.setAddressDisplay(t); }

    bool isEnabled(Control c) const override { return inner.isEnabled(c); }
    int selectedIndex(Control c) const override { return inner.selectedIndex(c); }
    bool selectIndex(Control c, int index) override { return inner.selectIndex(c, index); }
    QString text(Control c) const override { return inner.text(c); }
    void setText(Control c, const QString &t) override { inner.setText(c, t); }
    bool isChecked(Control c) const override { return inner.isChecked(c); }
    void setChecked(Control c, bool on) override { inner.setChecked(c, on); }
    void appendDevice(const QString &t) override { inner.appendDevice(t); }
    void removeDevice(int row) override { inner.removeDevice(row); }
    int deviceRowCount() const override { return inner.deviceRowCount(); }
    QString deviceText(int row) const override { return inner.deviceText(row); }
    int selectedDeviceRow() const override { return inner.selectedDeviceRow(); }
    QString logText() const override { return inner.logText(); }

    // The enabling and disabling among the calls.
    QStringList switches() const
    {
        return calls.filter(QRegularExpression(QStringLiteral("^(en|dis)able ")));
    }

    QStringList calls;

private:
    HeadlessPanel &inner;
};

struct Rig {
    HeadlessPanel panel;
    TracePanel trace{panel};
    FakeLink link;
    ManualTimer timer;
    // Once ticking, every entry is stamped one second after the one before,
    // so a test can tell an entry written once from one written again.
    bool ticking = false;
    int ticks = 0;
    Engine engine{trace, link, timer, [this] { return ticking ? fixedNow().addSecs(++ticks) : fixedNow(); }};
    Machine &m = engine.machine();

    // Started up; then `modules` found by a scan; then list row `readRow` read
    // to its end, with the frames sent so far forgotten.
    explicit Rig(int modules = 0, int readRow = -1)
    {
        engine.startUp();
        if (modules > 0)
            scanIn(modules);
        if (readRow >= 0) {
            readModule(readRow);
            link.sent.clear();
        }
    }
    struct NotStarted {};
    explicit Rig(NotStarted) {}

    // A whole scan in which modules 0 .. n-1 answer the first broadcast.
    void scanIn(int n)
    {
        engine.scan();
        for (int i = 0; i < n; ++i)
            link.deliver(moduleAddress(i) + "V3.0");
        for (int round = 0; round < 4; ++round)
            timer.fire();
        link.sent.clear();
    }

    void startTicking()
    {
        ticking = true;
        ticks = 0;
    }

    void click(int row)
    {
        panel.selectDeviceRow(row);
        engine.deviceListClicked();
    }

    // The answers of standardRead() from `first` up to and excluding `end` (rows, 0-based).
    void answerRows(int module, int first = 0, int end = 17)
    {
        for (int row = first; row < end; ++row)
            link.deliver(moduleAddress(module) + standardRead()[size_t(row)].payload);
    }

    // Module `row` of the list read to its end, log and sent frames left as they are.
    void readModule(int row)
    {
        click(row);
        answerRows(row);
    }

    void ack(int module = 0) { link.deliver(moduleAddress(module) + "OK\r\n"); }
    // n positive acknowledgements from the selected module.
    void acks(int n)
    {
        for (int i = 0; i < n; ++i)
            ack(m.SelectedDevice);
    }

    // The four commands a read or write locks.
    QList<bool> commandsEnabled() const
    {
        return {panel.isEnabled(Control::Device_List), panel.isEnabled(Control::L_Default),
                panel.isEnabled(Control::Setting), panel.isEnabled(Control::Run_Device)};
    }

    // Each control shows what standardRead() put there.
    void verifyShown() const
    {
        for (const ReadRow &row : standardRead()) {
            if (row.control == Control::PPPOE)
                QVERIFY(panel.isChecked(row.control));
            else if (row.index >= 0)
                QCOMPARE(panel.selectedIndex(row.control), row.index);
            else
                QCOMPARE(panel.text(row.control), QString::fromLatin1(row.written));
        }
    }

    // Every parameter control empty and the option buttons disabled, as a read
    // leaves them when it starts and a reset when it ends.
    void verifyEmptied() const
    {
        for (const ReadRow &row : standardRead()) {
            if (row.control == Control::PPPOE)
                continue;
            QCOMPARE(panel.text(row.control), QString());
            QCOMPARE(panel.selectedIndex(row.control), -1);
        }
        for (Control c : {Control::Direct, Control::PPPOE, Control::DHCP})
            QVERIFY(!panel.isEnabled(c));
    }

    // Codes of the frames sent, read at offsets 8 and 9.
    QStringList sentCodes() const
    {
        QStringList codes;
        for (const QByteArray &frame : link.sent)
            codes << QString::fromLatin1(frame.mid(8, 2));
        return codes;
    }
};

inline const QList<bool> AllOn = {true, true, true, true};
inline const QList<bool> AllOff = {false, false, false, false};

}  // namespace kelvane::test
