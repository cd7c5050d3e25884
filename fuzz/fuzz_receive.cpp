// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary datagrams, time-outs and operator actions to the engine, in
// any order and at every Step, through the same headless panel the tests use.
//
// Input: a sequence of records; the first byte of each picks the event.
#include "Presenter.h"
#include "support/HeadlessPanel.h"
#include "operations/Engine.h"
#include "protocol/Catalogue.h"
#include "support/FakeLink.h"
#include "support/ManualTimer.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>

using namespace kelvane;

namespace {

class Reader {
public:
    Reader(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_pos >= m_size; }
    uint8_t byte() { return atEnd() ? 0 : m_data[m_pos++]; }
    QByteArray bytes(size_t n)
    {
        n = std::min(n, m_size - m_pos);
        QByteArray out(reinterpret_cast<const char *>(m_data + m_pos), qsizetype(n));
        m_pos += n;
        return out;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Every Step an operation can leave behind.
qint16 reachableStep(uint8_t b)
{
    constexpr int Reachable = 18 + 19;  // 0..17 and 20..38
    const int i = b % Reachable;
    return qint16(i < 18 ? i : i + 2);
}

void mutateControl(HeadlessPanel &panel, Reader &in)
{
    const Parameter &p = catalogue()[in.byte() % ParameterCount];
    switch (p.kind) {
    case ValueKind::Choice:
        panel.selectIndex(p.control, int(in.byte() % 12) - 1);
        break;
    case ValueKind::Text:
        panel.setText(p.control, QString::fromLatin1(in.bytes(in.byte() % 20)));
        break;
    case ValueKind::StartMode:
        panel.setChecked(std::array{Control::Direct, Control::PPPOE, Control::DHCP}[in.byte() % 3], true);
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_receive";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    // The engine's warnings about states only this fuzzer forces would flood the output.
    QLoggingCategory::setFilterRules(QStringLiteral("kelvane.*=false"));

    HeadlessPanel panel;
    test::FakeLink link;
    test::ManualTimer timer;
    Engine engine(link, timer);
    Presenter window(panel, engine);
    window.startUp();

    Reader in(data, size);
    while (!in.atEnd()) {
        switch (in.byte() % 10) {
        case 0:
        case 1:
        case 2: {  // a datagram, the most common event
            const size_t length = size_t(in.byte()) | size_t(in.byte() & 0x7F) << 8;
            // Nothing awaited: no datagram but a discovery reply may send or arm anything.
            const bool ignored = !timer.isActive() && engine.machine().Step != 0;
            const qsizetype sent = link.sent.size();
            link.deliver(in.bytes(length));
            if (ignored && (link.sent.size() != sent || timer.isActive()))
                __builtin_trap();
            break;
        }
        case 3:
            timer.fire();
            break;
        case 4:
            window.scan();
            break;
        case 5:
            panel.selectDeviceRow(int(in.byte()) - 1);
            window.deviceListClicked();
            break;
        case 6:
            window.setting();
            break;
        case 7:
            (in.byte() & 1) ? window.restoreDefaults() : window.runDevice();
            break;
        case 8:
            engine.machine().Step = reachableStep(in.byte());
            break;
        case 9:
            mutateControl(panel, in);
            break;
        }
        // What the engine may never do, whatever arrived. (ScanRound may pass
        // 4: every press of Scan during a scan counts as a round.)
        const Machine &m = engine.machine();
        if (engine.deviceTable().count() > DeviceTableCapacity || engine.deviceTable().count() != panel.deviceRowCount()
            || m.RetryCount < 0 || m.RetryCount > MaxRetries || m.ScanRound < 0)
            __builtin_trap();
    }
    return 0;
}
