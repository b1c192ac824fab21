// A gain typed by the operator: "-12.5", "-12.5 dB", "+3", "0" or "off",
// in dB with a tenth of a dB at most; the decimal point may also be the
// locale's comma.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The gain code (1024 = 0 dB, one step 0.1 dB) for the text, rounded to the
// nearest step; "off" and anything at or below -100 dB is the bottom of the
// travel, code 24. Nothing for a text that is no gain. The code is not yet
// limited to the travel's top: the caller clamps it.
std::optional<int> parseTypedGain(const QString& text);
