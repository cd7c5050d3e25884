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
    parser.setApplicationDescription(QStringLiteral("Simulates Kelvane modules on UDP port 65000."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption modules(QStringLiteral("modules"), QStringLiteral("Number of modules (default 3)."), QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption first(QStringLiteral("first"), QStringLiteral("Number of the first module (default 1)."), QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption verbose(QStringLiteral("verbose"), QStringLiteral("One hex line per datagram on stderr."));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the drops (default 1)."), QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption restart(QStringLiteral("restart-ms"), QStringLiteral("How long a reset module stays silent (default 1000)."), QStringLiteral("MS"), QStringLiteral("1000"));
    const QCommandLineOption silent(QStringLiteral("silent-queries"), QStringLiteral("Never answer a query."));
    const QCommandLineOption drop(QStringLiteral("drop"), QStringLiteral("Lose this fraction of the answers."), QStringLiteral("FRACTION"), QStringLiteral("0"));
    const QCommandLineOption delay(QStringLiteral("delay"), QStringLiteral("Hold every answer this long."), QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption reject(QStringLiteral("reject"), QStringLiteral("Answer this choice code's query with a digit out of range."), QStringLiteral("CODE"));
    const QCommandLineOption noAcks(QStringLiteral("no-write-acks"), QStringLiteral("Store writes but never acknowledge them."));
    const QCommandLineOption refuse(QStringLiteral("refuse-write"), QStringLiteral("Answer this code's write with ER."), QStringLiteral("CODE"));
    const QCommandLineOption duplicate(QStringLiteral("duplicate"), QStringLiteral("Send every answer twice."));
    const QCommandLineOption forget(QStringLiteral("forget-writes"), QStringLiteral("Acknowledge these codes' writes with OK but keep the old values, so a read-back shows them."), QStringLiteral("CODE[,CODE...]"));
    const QCommandLineOption silentModules(QStringLiteral("silent-modules"), QStringLiteral("These modules, numbered from 1, never answer anything, not even a scan."), QStringLiteral("N[,N...]"));
    parser.addOptions({modules, first, verbose, seed, restart, silent, drop, delay, reject, noAcks, refuse, duplicate, forget, silentModules});

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
    options.delayMs = int(*delayMs);

    bool ok = false;
    options.drop = parser.value(drop).toDouble(&ok);
    if (!ok || options.drop < 0.0 || options.drop > 1.0)
        return QStringLiteral("--drop takes a fraction from 0 to 1.");

    options.verbose = parser.isSet(verbose);
    options.duplicate = parser.isSet(duplicate);
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
    return options;
}

}  // namespace kelvane::sim
