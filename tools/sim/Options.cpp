// SPDX-License-Identifier: Apache-2.0
#include "Options.h"

#include "core/Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace kelvane::sim {

namespace {
constexpr int MaxModules = 0xFFFFFF;  // the module number fills three address bytes

std::optional<long long> integer(const QString &text, long long min, long long max)
{
    bool ok = false;
    const long long n = text.toLongLong(&ok);
    if (!ok || n < min || n > max)
        return std::nullopt;
    return n;
}

std::optional<double> fraction(const QString &text)
{
    bool ok = false;
    const double share = text.toDouble(&ok);
    if (!ok || share < 0.0 || share > 1.0)
        return std::nullopt;
    return share;
}

QString choiceCodes()
{
    QStringList codes;
    for (const Parameter &p : catalogue()) {
        if (p.kind == ValueKind::Choice)
            codes << QString::fromLatin1(p.code);
    }
    return codes.join(QLatin1Char(' '));
}
}  // namespace

std::variant<Options, QString> parseOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulates Kelvane modules on UDP port 65000. On SIGUSR1 it prints\n"
                                                   "what every module holds: \"held\", its address and CODE=answer\n"
                                                   "for each parameter, one line each, then \"held end\"."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption modules(QStringLiteral("modules"), QStringLiteral("Number of modules (default 3)."), QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption first(QStringLiteral("first"), QStringLiteral("Number of the first module (default 1)."), QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption verbose(QStringLiteral("verbose"), QStringLiteral("One hex line per datagram on stderr."));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the drops (default 1)."), QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption restart(QStringLiteral("restart-ms"), QStringLiteral("How long a reset module stays silent (default 1000)."), QStringLiteral("MS"), QStringLiteral("1000"));
    const QCommandLineOption silent(QStringLiteral("silent-queries"), QStringLiteral("Never answer a query."));
    const QCommandLineOption drop(QStringLiteral("drop"), QStringLiteral("Lose this fraction of the answers."), QStringLiteral("FRACTION"), QStringLiteral("0"));
    const QCommandLineOption late(QStringLiteral("late"), QStringLiteral("Hold this fraction of the answers %1 ms longer than the rest, past the tool's 400 ms time-out.").arg(LateMs), QStringLiteral("FRACTION"), QStringLiteral("0"));
    const QCommandLineOption dropRequests(QStringLiteral("drop-requests"), QStringLiteral("Lose this fraction of the requests to a module (queries, writes, defaults, restarts) before it hears them; scans always arrive."), QStringLiteral("FRACTION"), QStringLiteral("0"));
    const QCommandLineOption delay(QStringLiteral("delay"), QStringLiteral("Hold every answer this long."), QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption reject(QStringLiteral("reject"), QStringLiteral("Answer this choice code's query with a digit out of range."), QStringLiteral("CODE"));
    const QCommandLineOption noAcks(QStringLiteral("no-write-acks"), QStringLiteral("Store writes but never acknowledge them."));
    const QCommandLineOption refuse(QStringLiteral("refuse-write"), QStringLiteral("Answer this code's write with ER."), QStringLiteral("CODE"));
    const QCommandLineOption duplicate(QStringLiteral("duplicate"), QStringLiteral("Send every answer twice; --drop loses both copies, --late holds both."));
    const QCommandLineOption forget(QStringLiteral("forget-writes"), QStringLiteral("Acknowledge these codes' writes with OK but keep the old values, so a read-back shows them."), QStringLiteral("CODE[,CODE...]"));
    const QCommandLineOption silentModules(QStringLiteral("silent-modules"), QStringLiteral("These modules, numbered from 1, never answer anything, not even a scan."), QStringLiteral("N[,N...]"));
    const QCommandLineOption answerFromIp(QStringLiteral("answer-from-ip"), QStringLiteral("Each module answers from the address its ip_address held when it last started, not from this host's own. The addresses they start with must be on this host's cards (scripts/peer-host --address); one written later that is not is answered from the host's own."));
    const QCommandLineOption moduleIp(QStringLiteral("module-ip"), QStringLiteral("Module N, numbered from 1, has A.B.C.D as its factory ip_address, also after ATDF. Give it again for more modules."), QStringLiteral("N=A.B.C.D"));
    parser.addOptions({modules, first, verbose, seed, restart, silent, drop, late, dropRequests, delay, reject, noAcks, refuse, duplicate, forget, silentModules, answerFromIp, moduleIp});

    if (!parser.parse(arguments))
        return parser.errorText();
    Options options;
    if (parser.isSet(QStringLiteral("help"))) {
        // The parser's usage line names the program by the path it was started
        // as; it reads "Usage: kelvane-sim", as the manual page does.
        const QString usage = QStringLiteral("Usage: ");
        options.help = parser.helpText().replace(usage + QCoreApplication::arguments().value(0),
                                                 usage + QCoreApplication::applicationName());
        return options;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        options.help = QCoreApplication::applicationName() + QLatin1Char(' ') + QLatin1String(Version) + QLatin1Char('\n');
        return options;
    }
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("Unexpected argument: ") + parser.positionalArguments().first();

    const auto count = integer(parser.value(modules), 0, MaxModules);
    if (!count)
        return QStringLiteral("--modules takes a number from 0 to %1.").arg(MaxModules);
    options.modules = int(*count);
    const auto firstNumber = integer(parser.value(first), 1, MaxModules);
    if (!firstNumber || *firstNumber - 1 + options.modules > MaxModules)
        return QStringLiteral("--first and --modules must keep every module number within 1 to %1.").arg(MaxModules);
    options.first = int(*firstNumber);

    const auto seedValue = integer(parser.value(seed), 0, 0xFFFFFFFFLL);
    if (!seedValue)
        return QStringLiteral("--seed takes a number from 0 to 4294967295.");
    options.seed = quint32(*seedValue);

    const auto restartMs = integer(parser.value(restart), 0, 3600000);
    const auto delayMs = integer(parser.value(delay), 0, 3600000);
    if (!restartMs || !delayMs)
        return QStringLiteral("--restart-ms and --delay take milliseconds from 0 to 3600000.");
    options.restartMs = int(*restartMs);
    options.delivery.delayMs = int(*delayMs);

    for (const auto &[option, target] : {std::pair{&drop, &options.delivery.dropAnswers},
                                         std::pair{&late, &options.delivery.lateAnswers},
                                         std::pair{&dropRequests, &options.delivery.dropRequests}}) {
        const std::optional<double> share = fraction(parser.value(*option));
        if (!share)
            return QStringLiteral("--%1 takes a fraction from 0 to 1.").arg(option->names().first());
        *target = *share;
    }

    options.verbose = parser.isSet(verbose);
    options.delivery.duplicate = parser.isSet(duplicate);
    options.answerFromIp = parser.isSet(answerFromIp);
    options.faults.silentQueries = parser.isSet(silent);
    options.faults.noWriteAcks = parser.isSet(noAcks);

    if (parser.isSet(reject)) {
        const QByteArray code = parser.value(reject).toLatin1();
        const int row = rowOfCode(code);
        // Only a choice answer can be out of range; texts are always taken.
        if (row < 0 || catalogue()[row].kind != ValueKind::Choice)
            return QStringLiteral("--reject takes one of: ") + choiceCodes();
        options.faults.rejectCode = code;
    }
    if (parser.isSet(refuse)) {
        const QByteArray code = parser.value(refuse).toLatin1();
        if (rowOfCode(code) < 0)
            return QStringLiteral("--refuse-write takes a parameter code such as UB or IP.");
        options.faults.refuseWriteCode = code;
    }
    if (parser.isSet(forget)) {
        for (const QString &item : parser.value(forget).split(QLatin1Char(','))) {
            const QByteArray code = item.toLatin1();
            if (rowOfCode(code) < 0)
                return QStringLiteral("--forget-writes takes parameter codes such as UB or IP, separated by commas.");
            options.faults.forgetWriteCodes.insert(code);
        }
    }
    if (parser.isSet(silentModules)) {
        for (const QString &item : parser.value(silentModules).split(QLatin1Char(','))) {
            const auto number = integer(item, 1, options.modules);
            if (!number)
                return QStringLiteral("--silent-modules takes module numbers from 1 to %1, separated by commas.")
                    .arg(options.modules);
            options.faults.silentModules.insert(int(*number - 1));
        }
    }
    const Parameter &ip = catalogue().at(rowOfCode("IP"));
    for (const QString &item : parser.values(moduleIp)) {
        const auto number = integer(item.section(QLatin1Char('='), 0, 0), 1, options.modules);
        const std::optional<Value> address = parseWrite(ip, item.section(QLatin1Char('='), 1).toLatin1());
        if (!number || !address)
            return QStringLiteral("--module-ip takes N=A.B.C.D, N from 1 to %1.").arg(options.modules);
        options.moduleIps.insert(int(*number - 1), *address);
    }
    return options;
}

}  // namespace kelvane::sim
