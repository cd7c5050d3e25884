#include "SingleByteValidator.h"

#include <algorithm>

namespace kelvane {

QValidator::State SingleByteValidator::validate(QString &input, int &) const
{
    // Writes go out as Latin-1, one byte a character.
    const bool fits = std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    return fits ? Acceptable : Invalid;
}

}  // namespace kelvane
