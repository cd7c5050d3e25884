// SPDX-License-Identifier: Apache-2.0
#include "AnswerForm.h"

#include "core/Constants.h"

namespace kelvane {

namespace {
// What one byte of a well-formed answer is.
enum class Byte : char { Digit, Zero, Dot, Cr };

using B = Byte;
// After the address; the decoder reads the digits at the same offsets.
constexpr Byte OneDigit[] = {B::Digit, B::Digit, B::Cr};
constexpr Byte OneDigitZeroAtSix[] = {B::Zero, B::Digit, B::Cr};
// A four-digit answer comes padded to five, as the decoder's offsets 7 to 10 show.
constexpr Byte FiveDigits[] = {B::Digit, B::Digit, B::Digit, B::Digit, B::Digit, B::Cr};
constexpr Byte Address[] = {B::Digit, B::Digit, B::Digit, B::Dot, B::Digit, B::Digit, B::Digit, B::Dot,
                            B::Digit, B::Digit, B::Digit, B::Dot, B::Digit, B::Digit, B::Digit, B::Cr};

bool matches(char c, Byte expected)
{
    switch (expected) {
    case B::Digit:
        return c >= '0' && c <= '9';
    case B::Zero:
        return c == '0';
    case B::Dot:
        return c == '.';
    case B::Cr:
        return c == '\r';
    }
    return false;
}

template <std::size_t N>
bool fits(const QByteArray &reply, const Byte (&form)[N])
{
    if (reply.size() < DeviceAddressSize + qsizetype(N))
        return false;
    for (std::size_t i = 0; i < N; ++i) {
        if (!matches(reply.at(DeviceAddressSize + qsizetype(i)), form[i]))
            return false;
    }
    return true;
}
}  // namespace

bool answerFits(const Parameter &parameter, const QByteArray &reply)
{
    switch (parameter.answer) {
    case AnswerLayout::Choice:
        return parameter.zeroAtSix ? fits(reply, OneDigitZeroAtSix) : fits(reply, OneDigit);
    case AnswerLayout::StartMode:
        return fits(reply, OneDigit);
    case AnswerLayout::FourDigits:
    case AnswerLayout::FiveDigits:
        return fits(reply, FiveDigits);
    case AnswerLayout::Address:
        return fits(reply, Address);
    }
    return false;
}

}  // namespace kelvane
