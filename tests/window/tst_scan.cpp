// A scan and the reads after it, driven through the window with the mouse
// and the keyboard, with modules answering through the fake link.
#include "WindowFixture.h"

#include "protocol/Frames.h"

#include <QListWidget>
#include <QPushButton>

using namespace kelvane;
using namespace kelvane::test;

namespace {

const QByteArray discovery = QByteArrayLiteral("SETUP");

DeviceAddress address(quint8 last)
{
    return DeviceAddress({0x00, 0x1A, 0x2B, 0x3C, 0x4D, last});
}

// A module's answer to the discovery request: its address, then its settings.
QByteArray discoveryReply(quint8 last)
{
    return address(last).toByteArray() + QByteArrayLiteral("KV-100 3.0\r\n");
}

}  // namespace

class ScanTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void scanFindsModules();
    void clickReadsOnce();
    void clickOnSelectedItemReadsAgain();
    void keysRead_data();
    void keysRead();
    void clickBesideItemsReadsNothing();

private:
    // A window that has found the modules ending in these bytes.
    void scanFinding(std::initializer_list<quint8> modules);
    QListWidget *list() const { return m_window->find<QListWidget>("Device_List"); }
    QPoint itemCentre(int row) const { return list()->visualItemRect(list()->item(row)).center(); }

    std::unique_ptr<Window> m_window;
};

void ScanTest::init()
{
    m_window = std::make_unique<Window>();
    QVERIFY(m_window->showActive());
}

void ScanTest::cleanup()
{
    m_window.reset();
}

void ScanTest::scanFinding(std::initializer_list<quint8> modules)
{
    Window &w = *m_window;
    QTest::mouseClick(w.find("Scan"), Qt::LeftButton);
    for (int round = 1; round <= 4; ++round) {
        QCOMPARE(w.link.sent.size(), round);
        QCOMPARE(w.link.sent.last(), discovery);
        // Every module answers every round; the list keeps one item each.
        for (quint8 last : modules)
            w.link.deliver(discoveryReply(last));
        QVERIFY(w.timer.fire());
    }
    QCOMPARE(w.link.sent.size(), 4);
    QVERIFY(!w.timer.isActive());
}

void ScanTest::scanFindsModules()
{
    Window &w = *m_window;
    scanFinding({0x5E});

    QCOMPARE(list()->count(), 1);
    QCOMPARE(list()->item(0)->text(), QStringLiteral("设备 ( 001A2B3C4D5E )"));
    QCOMPARE(w.form->selectedDeviceRow(), -1);
    QVERIFY(w.form->logText().endsWith(QStringLiteral("\r\n检测到 1个设备。")));
    QVERIFY(w.form->logText().contains(QStringLiteral("计算机正在扫描网络中的设备... ...")));
    for (const char *frame : {"UART_Control", "Ethernet_Control", "Set_PPPOE"})
        QVERIFY2(w.find(QLatin1String(frame))->isEnabled(), frame);
    QVERIFY(list()->isEnabled());
    // Still locked until a read ends.
    QVERIFY(!w.find("Setting")->isEnabled());
    QVERIFY(!w.find("User_ID")->isEnabled());
}

void ScanTest::clickReadsOnce()
{
    Window &w = *m_window;
    scanFinding({0x01, 0x02});
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, itemCentre(1));

    // The press selects and the release clicks: one read, of the second module.
    QCOMPARE(w.link.sent.size(), 4 + 1);
    QCOMPARE(w.link.sent.last(), frames::query(address(0x02), "UB"));
    QCOMPARE(w.form->logText(), QStringLiteral("2026-12-06 09:05:07\r\n读取设备 2参数... ..."));
    QVERIFY(w.timer.isActive());
    QVERIFY(!list()->isEnabled());
}

void ScanTest::clickOnSelectedItemReadsAgain()
{
    Window &w = *m_window;
    scanFinding({0x01});
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, itemCentre(0));
    QCOMPARE(w.link.sent.size(), 5);

    // The read gives up after three tries; the list is open again.
    for (int attempt = 0; attempt < 3; ++attempt)
        QVERIFY(w.timer.fire());
    QVERIFY(list()->isEnabled());
    const int before = int(w.link.sent.size());
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, itemCentre(0));
    QCOMPARE(w.link.sent.size(), before + 1);
    QCOMPARE(w.link.sent.last(), frames::query(address(0x01), "UB"));
}

void ScanTest::keysRead_data()
{
    QTest::addColumn<int>("selectedBefore");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("read");  // the row read, -1 for none

    QTest::newRow("down") << 0 << Qt::Key_Down << 1;
    QTest::newRow("up") << 2 << Qt::Key_Up << 1;
    QTest::newRow("end") << 0 << Qt::Key_End << 2;
    QTest::newRow("down at the bottom") << 2 << Qt::Key_Down << -1;
    QTest::newRow("a letter") << 1 << Qt::Key_X << -1;
}

void ScanTest::keysRead()
{
    QFETCH(int, selectedBefore);
    QFETCH(Qt::Key, key);
    QFETCH(int, read);

    Window &w = *m_window;
    scanFinding({0x01, 0x02, 0x03});
    list()->setFocus();
    list()->setCurrentRow(selectedBefore);
    QCOMPARE(w.link.sent.size(), 4);

    QTest::keyClick(list(), key);
    if (read < 0) {
        QCOMPARE(w.link.sent.size(), 4);
    } else {
        QCOMPARE(w.link.sent.size(), 5);
        QCOMPARE(w.link.sent.last(), frames::query(address(quint8(read + 1)), "UB"));
    }
}

void ScanTest::clickBesideItemsReadsNothing()
{
    Window &w = *m_window;
    scanFinding({0x01});
    const QPoint below(list()->viewport()->width() / 2, list()->viewport()->height() - 5);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(w.form->selectedDeviceRow(), -1);
    QCOMPARE(w.link.sent.size(), 4);
    QVERIFY(list()->isEnabled());
}

QTEST_MAIN(ScanTest)
#include "tst_scan.moc"
