// The switcher's numbers that the panel's own logic speaks in: the gain
// stages a fader bank can drive and the bits of an information request.
#pragma once

#include <cstdint>

namespace GainStage {
constexpr int16_t InputTrim = 1;     // a source's input sensitivity
constexpr int16_t AnalogOutput = 3;  // a destination's final output gain
constexpr int16_t DspOutput = 15;    // a destination's DSP output gain
constexpr int16_t DeviceId = 20;     // faders are labelled with device IDs only
}  // namespace GainStage

// Bits of LastInfoRequest: the tables asked for and not yet received.
namespace InfoBits {
constexpr int32_t SourceNames = 0x100;
constexpr int32_t DestinationNames = 0x200;
constexpr int32_t SourceLinks = 0x400;
constexpr int32_t DestinationLinks = 0x800;
constexpr int32_t StartUpRequest = 36608;  // 0x8F00: the four tables and bit 15
}  // namespace InfoBits
