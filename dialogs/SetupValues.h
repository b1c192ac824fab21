// How the setup dialog reads its boxes and what it shows in them: the fader
// count, a row's channel or device ID, and the port.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <stdexcept>

// A box holds a value that cannot be stored; the whole "&Ok" is refused.
class RefusedValue : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace SetupValues {

constexpr int16_t MaxCount = 20;
constexpr int HighestChannel = 4096;  // channels are numbered from 1 in the boxes

// The count typed into the box, limited to MaxCount; nothing when it is
// below 1, which is no count at all.
std::optional<int16_t> countFromText(const QString& text);

// What a row's box shows for a stored channel: the 1-based channel number,
// or the device ID itself in Device ID mode.
QString channelText(int16_t gainStage, int value);

// The channel to store for a row's text. A number that does not fit 16 bits
// throws RefusedValue; outside Device ID mode a number outside
// 1..HighestChannel stores the first channel.
int16_t channelFromText(int16_t gainStage, const QString& text);

// Throws RefusedValue when the number does not fit 32 bits.
int32_t portFromText(const QString& text);

}  // namespace SetupValues
