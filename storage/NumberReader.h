// Numbers typed by the operator or read from the settings file: the number at
// the start of the text, blanks ignored anywhere, optional sign, digits and an
// optional fraction rounded to the nearest whole number (halves to even); no
// number at all reads as 0. A value that does not fit the variable's width is
// a failure, reported as an empty optional.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace NumberReader {

// The whole number at the start of text, before any range check.
double readNumber(const QString& text);

std::optional<int16_t> readInt16(const QString& text);
std::optional<int32_t> readInt32(const QString& text);

}  // namespace NumberReader
