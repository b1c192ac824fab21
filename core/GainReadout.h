// The gain arithmetic of a fader: the read-out text of a gain code and the
// gain the switcher last reported for the fader's channel.
#pragma once

#include <QString>
#include <cstdint>

struct PanelState;

// "Gain (+0.5db)", "Gain (0db)", "Gain (Off)" ... for a gain code (1024 = 0 dB,
// one step = 0.1 dB), with the decimal separator of the default locale.
QString gainReadoutText(int16_t code);

// "-6.0 dB", "0.0 dB", "+3.0 dB", or "Off" at the bottom of the travel: a
// gain as the operator's journal and the Edit menu name it.
QString gainDecibelText(int16_t code);

// The gain stage as the setup dialog offers it: "Input Trim", "Anaolg
// Output", "DSP Output Level", "Device ID"; the number for any other.
QString gainStageCaption(int16_t stage);

// The stored gain of fader i at the panel's gain stage; 0 for a stage that
// has no table. Throws std::out_of_range when the fader or its channel has no
// entry, so callers can take their error path.
int16_t storedGain(const PanelState& state, int fader);
