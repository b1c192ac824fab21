// A second, plainly written reading of "the number at the start of a text",
// for numbers short enough to hold exactly in a 64-bit integer. The fuzzer
// compares the number reader against it.
#pragma once

#include <QString>
#include <optional>

// The rounded value of the number at the start of text, or nothing when its
// whole part has more than 15 digits (beyond exact arithmetic here).
std::optional<long long> oracleNumber(const QString& text);

// text without its blanks (spaces and tabs), which the reader ignores.
QString withoutBlanks(const QString& text);
