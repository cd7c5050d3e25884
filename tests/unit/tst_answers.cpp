// SPDX-License-Identifier: Apache-2.0
// The form of query answers: what the module sends for each code, and the
// garbled, short and misplaced answers that do not fit.
#include "replies/AnswerForm.h"
#include "replies/ParameterReply.h"

#include <QTest>

using namespace kelvane;

namespace {
const QByteArray Address = QByteArray::fromHex("024B56000001");

const Parameter &parameterOf(const QByteArray &code)
{
    for (const Parameter &parameter : catalogue()) {
        if (code == parameter.code)
            return parameter;
    }
    qFatal("no parameter has code %s", code.constData());
}
}  // namespace

class AnswersTest : public QObject {
    Q_OBJECT

private slots:
    void forms_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("answer");  // after the address
        QTest::addColumn<bool>("fits");
        const auto row = [](const char *name, const char *code, const QByteArray &answer, bool fits) {
            QTest::newRow(name) << QByteArray(code) << answer << fits;
        };
        // One good form per code.
        const QByteArrayList codes = QByteArray("UB UT UD TM UP BT US CM GA SM IP PT DA DP SR ET PD").split(' ');
        const QByteArrayList good = {"09", "01", "08", "00003", "02", "09999", "01", "02", "192.168.001.001",
                                     "255.255.255.000", "010.000.000.007", "65535", "000.000.000.000", "00000",
                                     "05", "03", "02"};
        for (qsizetype i = 0; i < codes.size(); ++i)
            row(codes[i].constData(), codes[i].constData(), good[i] + "\r\n", true);

        row("CR without LF", "UB", "09\r", true);
        row("what follows the CR is not looked at", "GA", "192.168.001.001\rxyz", true);
        row("a digit past the list is the decoder's refusal", "PD", "09\r\n", true);
        row("padding the decoder skips", "UB", "19\r\n", true);
        row("padding the decoder insists on", "UP", "12\r\n", false);
        row("nothing after the address", "UB", "", false);
        row("one digit short", "UB", "0\r\n", false);
        row("no CR", "UB", "09", false);
        row("LF for CR", "CM", "01\n", false);
        row("a letter for the digit", "UT", "0A\r\n", false);
        row("':' past '9'", "UB", "0:\r\n", false);
        row("ER where a value goes", "SR", "ER\r\n", false);
        row("two digits where one goes", "ET", "012\r\n", false);
        row("four digits unpadded", "TM", "0003\r\n", false);
        row("a letter in a delimiter", "BT", "0004O\r\n", false);
        row("a blank in a port", "PT", " 8080\r\n", false);
        row("an address answer for a port", "DP", "192.168.001.010\r\n", false);
        row("an address unpadded", "IP", "192.168.1.10\r\n", false);
        row("groups joined by dashes", "SM", "255-255-255-000\r\n", false);
        row("a letter in a group", "DA", "192.168.0a0.100\r\n", false);
        row("an address without its CR", "GA", "192.168.001.001", false);
        // The codes above without a bad form of their own.
        row("a blank for the data bits' digit", "UD", "0 \r\n", false);
        row("stop bits padded otherwise than the decoder insists", "US", "11\r\n", false);
        row("a start mode in two digits", "PD", "001\r\n", false);
    }

    // An answer that fits is one the decoder can read whole.
    void forms()
    {
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, answer);
        QFETCH(bool, fits);
        const Parameter &parameter = parameterOf(code);
        QCOMPARE(answerFits(parameter, Address + answer), fits);
        if (fits)
            QVERIFY(!std::holds_alternative<answer::Failure>(decodeAnswer(parameter, Address + answer)));
    }
};

QTEST_GUILESS_MAIN(AnswersTest)
#include "tst_answers.moc"
