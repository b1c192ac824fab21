// The settings file's key table. Positions are 1-based and a value is the
// text of fixed length at its position, as the file format has always had it:
// "Gain Stage=15" takes its number from characters 12 to 16.
#include "IniKeys.h"

#include <optional>

#include "NumberReader.h"
#include "PanelState.h"

namespace {

const QString DefaultAddress = QStringLiteral("127.0.0.1");
constexpr int32_t DefaultPort = 1250;
constexpr int AddressLength = 25;

// length characters from the 1-based position start; empty past the end.
QString mid(const QString& text, int start, int length) { return text.mid(start - 1, length); }

std::optional<int16_t> int16At(const QString& entry, int start, int length) {
    return NumberReader::readInt16(mid(entry, start, length));
}

// The cut can end in blanks that the entry itself did not end in; they are
// dropped as the entry's own are, or the address would not read back the same
// once the panel has written it.
void applyAddress(PanelState& state, const QString& entry) {
    QString address = mid(entry, 12, AddressLength);
    while (address.endsWith(QLatin1Char(' ')) || address.endsWith(QLatin1Char('\t'))) {
        address.chop(1);
    }
    state.IPAddress = address.isEmpty() ? DefaultAddress : address;
}

bool applyPort(PanelState& state, const QString& entry) {
    const std::optional<int32_t> port = NumberReader::readInt32(mid(entry, 9, 5));
    if (!port) return false;
    state.IPPort = *port <= 0 ? DefaultPort : *port;
    return true;
}

bool applyGainStage(PanelState& state, const QString& entry) {
    const std::optional<int16_t> stage = int16At(entry, 12, 5);
    if (!stage) return false;
    state.GainStage = *stage > GainStage::DeviceId ? int16_t{0} : *stage;
    return true;
}

// Every fader's channel and stereo flag start again from 0 at a new count.
bool applyFaderCount(PanelState& state, const QString& entry) {
    const std::optional<int16_t> count = int16At(entry, 13, 5);
    if (!count) return false;
    int16_t faders = *count;
    if (faders < 1) faders = 1;
    if (faders > PanelState::MaxFaders) faders = PanelState::MaxFaders;
    state.FaderCount = faders;
    state.Chan.assign(static_cast<size_t>(faders), 0);
    state.Link.assign(static_cast<size_t>(faders), 0);
    return true;
}

struct FaderValue {
    size_t fader;  // 0-based
    int16_t value;
};

// "Chan 3=12" and "Chan 14=12": the fader number has one digit when
// character 7 is the "=", two otherwise.
std::optional<FaderValue> readFaderValue(const QString& entry, const std::vector<int16_t>& table,
                                         int16_t faderCount) {
    const bool oneDigit = mid(entry, 7, 1) == QLatin1String("=");
    const std::optional<int16_t> number = oneDigit ? int16At(entry, 6, 1) : int16At(entry, 6, 2);
    const std::optional<int16_t> value = oneDigit ? int16At(entry, 8, 5) : int16At(entry, 9, 5);
    if (!number || !value) return std::nullopt;
    const int fader = *number - 1;
    if (fader < 0 || fader >= faderCount || static_cast<size_t>(fader) >= table.size()) {
        return std::nullopt;
    }
    return FaderValue{static_cast<size_t>(fader), *value};
}

// The file numbers channels from 1 except in Device ID mode; a channel of 0
// or below means the first channel rather than a negative one.
int16_t storedChannel(int16_t gainStage, int16_t value) {
    if (gainStage == GainStage::DeviceId) return value < 0 ? int16_t{0} : value;
    return value <= 0 ? int16_t{0} : static_cast<int16_t>(value - 1);
}

bool applyChan(PanelState& state, const QString& entry) {
    const std::optional<FaderValue> read = readFaderValue(entry, state.Chan, state.FaderCount);
    if (!read) return false;
    state.Chan[read->fader] = storedChannel(state.GainStage, read->value);
    return true;
}

bool applyLink(PanelState& state, const QString& entry) {
    const std::optional<FaderValue> read = readFaderValue(entry, state.Link, state.FaderCount);
    if (!read) return false;
    state.Link[read->fader] = read->value > 1 ? int16_t{0} : read->value;
    return true;
}

bool starts(const QString& entry, const char* key) {
    return entry.startsWith(QLatin1String(key), Qt::CaseSensitive);
}

}  // namespace

bool applyIniEntry(PanelState& state, const QString& entry) {
    if (starts(entry, "IP Address")) {
        applyAddress(state, entry);
        return true;
    }
    if (starts(entry, "IP Port")) return applyPort(state, entry);
    if (starts(entry, "Gain Stage")) return applyGainStage(state, entry);
    if (starts(entry, "Fader Count")) return applyFaderCount(state, entry);
    if (starts(entry, "Chan ")) return applyChan(state, entry);
    if (starts(entry, "Link ")) return applyLink(state, entry);
    return true;
}
