// Gain codes as the switcher speaks them: 1024 is 0 dB and one step a tenth
// of a dB; a fader travels from 24 ("Off") to 1264 (+24 dB).
#pragma once

#include <cstdint>

namespace GainCode {
constexpr int16_t ZeroDb = 1024;
constexpr int16_t Off = 24;    // the bottom of the travel
constexpr int16_t Top = 1264;  // +24 dB
constexpr int StepsPerDecibel = 10;
constexpr double OffDecibels = -100.0;

constexpr double decibelsOf(int code) { return (code - ZeroDb) / double{StepsPerDecibel}; }

// The nearest number of steps to a change of gain, held within 1000 dB
// either way: far beyond the travel, and far from overflowing.
int stepsOf(double decibels);

// The nearest code of a gain: Off at or below -100 dB. Not held to the
// travel.
int codeOf(double decibels);
}  // namespace GainCode
