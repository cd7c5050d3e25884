#include "Session.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace kelvane::cli {

Session::Session() : m_engine(m_panel, m_link, m_timer)
{
    m_engine.startUp();
}

bool Session::run(Operation operation, const std::function<void()> &start)
{
    std::optional<bool> result;
    QEventLoop loop;
    const auto connection = QObject::connect(&m_engine, &Engine::operationEnded, &loop,
                                             [&](Operation ended, bool succeeded) {
                                                 if (ended != operation)
                                                     return;
                                                 result = succeeded;
                                                 loop.quit();
                                             });
    start();
    // An operation refused at once (no port, nothing selected) has ended already.
    if (!result)
        loop.exec();
    QObject::disconnect(connection);
    return *result;
}

std::optional<QString> Session::traceTo(const QString &path)
{
    m_trace = std::make_unique<Trace>();
    if (!m_trace->open(path))
        return m_trace->errorString();
    m_trace->attach(m_link, m_engine);
    return std::nullopt;
}

void Session::handOverLink()
{
    QObject::disconnect(&m_link, &Link::datagramReceived, &m_engine, nullptr);
}

void Session::select(int row)
{
    m_panel.selectDeviceRow(row);
}

bool Session::scan()
{
    return run(Operation::Scan, [this] { m_engine.scan(); });
}

bool Session::read(int row)
{
    select(row);
    return run(Operation::Read, [this] { m_engine.deviceListClicked(); });
}

bool Session::write()
{
    return run(Operation::Write, [this] { m_engine.setting(); });
}

bool Session::restoreDefaults(int row)
{
    select(row);
    return run(Operation::Defaults, [this] { m_engine.restoreDefaults(); });
}

bool Session::reset(int row)
{
    select(row);
    return run(Operation::Reset, [this] { m_engine.runDevice(); });
}

std::variant<int, QString> Session::find(const DeviceAddress &module)
{
    scan();
    if (const int row = rowOf(module); row >= 0)
        return row;
    // Finding nothing is an answer; a port that cannot be had is not.
    if (!m_link.open())
        return lastEntry();
    return QCoreApplication::translate("kelvane::cli", "Module %1 was not found on the network.").arg(module.toHex());
}

int Session::rowOf(const DeviceAddress &module) const
{
    return m_engine.machine().deviceTable.indexOf(module);
}

QString Session::lastEntry() const
{
    return m_engine.machine().log.lastMessage().join(QLatin1Char(' '));
}

}  // namespace kelvane::cli
