#include "GainCode.h"

#include <algorithm>
#include <cmath>

int GainCode::stepsOf(double decibels) {
    constexpr double FarBeyondTheTravel = 1000.0;
    const double held = std::clamp(decibels, -FarBeyondTheTravel, FarBeyondTheTravel);
    return static_cast<int>(std::lround(held * StepsPerDecibel));
}

int GainCode::codeOf(double decibels) {
    if (decibels <= OffDecibels) return Off;
    return ZeroDb + stepsOf(decibels);
}
