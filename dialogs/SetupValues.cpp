// The setup dialog's reading rules for counts, channels and ports.
#include "SetupValues.h"

#include <algorithm>

#include "NumberReader.h"
#include "PanelState.h"

namespace SetupValues {

std::optional<int16_t> countFromText(const QString& text) {
    const std::optional<int16_t> count = NumberReader::readInt16(text);
    // A count too long for 16 bits is still far above the limit.
    if (!count) {
        if (NumberReader::readNumber(text) > 0) return MaxCount;
        return std::nullopt;
    }
    if (*count < 1) return std::nullopt;
    return std::min(*count, MaxCount);
}

QString channelText(int16_t gainStage, int value) {
    return QString::number(gainStage == GainStage::DeviceId ? value : value + 1);
}

int16_t channelFromText(int16_t gainStage, const QString& text) {
    const std::optional<int16_t> value = NumberReader::readInt16(text);
    // A number that does not fit 16 bits is refused in every gain stage; only
    // a 16-bit one outside the channel range falls back to the first channel.
    if (!value) throw RefusedValue("channel out of range");
    if (gainStage == GainStage::DeviceId) return *value;
    if (*value < 1 || *value > HighestChannel) return 0;
    return static_cast<int16_t>(*value - 1);
}

int32_t portFromText(const QString& text) {
    const std::optional<int32_t> port = NumberReader::readInt32(text);
    if (!port) throw RefusedValue("port out of range");
    return *port;
}

}  // namespace SetupValues
