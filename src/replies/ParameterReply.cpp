// SPDX-License-Identifier: Apache-2.0
#include "ParameterReply.h"

#include "AnswerForm.h"
#include "operations/Read.h"
#include "operations/Reporter.h"
#include "operations/TimeoutDispatch.h"
#include "protocol/QuerySender.h"

#include <QCoreApplication>

namespace kelvane {

namespace {
constexpr int DigitOffset = 7;

// d: the byte minus '0'; a byte below '0' gives a negative d.
int digitAt(const QByteArray &reply, int offset)
{
    return int(static_cast<unsigned char>(reply[offset])) - '0';
}

// The decimal text of a byte minus '0': "7" for '7', "-16" for a blank.
QString fieldText(char byte)
{
    return QString::number(int(static_cast<unsigned char>(byte)) - '0');
}

QString fieldTexts(const QByteArray &reply, int from, int to)
{
    QString text;
    for (int i = from; i <= to; ++i)
        text += fieldText(reply[i]);
    return text;
}

Answer decodeChoice(const Parameter &p, const QByteArray &reply)
{
    if (reply.size() <= DigitOffset)
        return answer::Failure{};
    const int d = digitAt(reply, DigitOffset);
    const bool zeroOk = !p.zeroAtSix || reply[6] == '0';
    if (!zeroOk || d < p.minDigit || d > p.maxDigit)
        return answer::Rejected{catalogueText(p.rejection)};
    return answer::Index{d - p.digitOffset};
}

Answer decodeAddress(const QByteArray &reply)
{
    constexpr int Groups[] = {6, 10, 14, 18};
    if (reply.size() <= 20)
        return answer::Failure{};
    QStringList parts;
    for (int start : Groups)
        parts << fieldTexts(reply, start, start + 2);
    return answer::Text{parts.join(QLatin1Char('.'))};
}
}  // namespace

Answer decodeAnswer(const Parameter &p, const QByteArray &reply)
{
    switch (p.answer) {
    case AnswerLayout::Choice:
        return decodeChoice(p, reply);
    case AnswerLayout::FourDigits:
        if (reply.size() <= 10)
            return answer::Failure{};
        return answer::Text{fieldTexts(reply, 7, 10)};
    case AnswerLayout::FiveDigits:
        if (reply.size() <= 10)
            return answer::Failure{};
        return answer::Text{fieldTexts(reply, 6, 10)};
    case AnswerLayout::Address:
        return decodeAddress(reply);
    case AnswerLayout::StartMode:
        if (reply.size() <= DigitOffset)
            return answer::Failure{};
        return answer::StartMode{digitAt(reply, DigitOffset)};
    }
    return answer::Failure{};
}

QString describeAnswer(const Answer &answer)
{
    if (const auto *index = std::get_if<answer::Index>(&answer))
        return QStringLiteral("index %1").arg(index->index);
    if (const auto *text = std::get_if<answer::Text>(&answer))
        return QStringLiteral("text ") + text->text;
    if (const auto *mode = std::get_if<answer::StartMode>(&answer))
        return QStringLiteral("mode %1").arg(mode->digit);
    if (const auto *rejected = std::get_if<answer::Rejected>(&answer))
        return rejected->message;
    return QStringLiteral("failure");
}

namespace {
bool readable(const Answer &answer)
{
    return !std::holds_alternative<answer::Rejected>(answer) && !std::holds_alternative<answer::Failure>(answer);
}

// Whether this datagram, arriving for p's query, would be taken as its value.
bool wouldAnswer(const Parameter &p, const QByteArray &reply)
{
    return answerFits(p, reply) && readable(decodeAnswer(p, reply));
}
}  // namespace

QString handleParameterReply(Machine &m, const QByteArray &reply)
{
    const Parameter &p = catalogue()[m.Step - 1];
    // Where every frame has attempts of its own, a datagram of another form
    // (a discovery reply, a garbled answer) is no answer, and the wait goes on.
    if (m.retriesEachFrame() && !answerFits(p, reply)) {
        m.misfit = true;
        return QStringLiteral("dropped: not the form of an answer to %1").arg(QLatin1String(p.code));
    }
    const Answer decoded = decodeAnswer(p, reply);
    // The answer before once more, and not one this parameter can have: a copy.
    if (m.retriesEachFrame() && reply == m.lastAnswer && !readable(decoded)) {
        m.misfit = true;
        return QStringLiteral("dropped: the answer before again, which cannot answer %1").arg(QLatin1String(p.code));
    }
    const QString meaning = QStringLiteral("answer to %1: %2").arg(QLatin1String(p.code), describeAnswer(decoded));
    // Too short to be the last answer: ending the read on it would leave the
    // commands locked with nothing said, so the read waits on, and its
    // time-out retries or reports as for silence.
    if (m.Step == ParameterCount && std::holds_alternative<answer::Failure>(decoded))
        return QStringLiteral("dropped: ") + meaning;
    m.Timer1.stop();
    m.report.onAnswer(p, decoded, m.Step);
    if (m.Step == ParameterCount) {
        // Where the last query was tried again, its first attempt may still
        // answer; the read ends after the quiet wait, so that the next
        // operation's first query cannot take that answer for its own.
        if (!(m.retriesEachFrame() && awaitQuiet(m, false)))
            readDone(m);
        return meaning;
    }
    // A copy of this answer that came after the next query would be dropped,
    // as of another form or as no value the next parameter has; only one that
    // would pass for the next answer needs the wait.
    const bool copyWouldAnswer = m.retriesEachFrame() && wouldAnswer(catalogue()[m.Step], reply);
    m.lastAnswer = reply;
    if (!awaitQuiet(m, copyWouldAnswer)) {
        sendQuery(m);
        m.armTimer1();
    }
    return meaning;
}

}  // namespace kelvane
