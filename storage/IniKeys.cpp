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
QString Mid(const QString& text, int start, int length) { return text.mid(start - 1, length); }

std::optional<int16_t> Int16At(const QString& entry, int start, int length) {
    return NumberReader::ReadInt16(Mid(entry, start, length));
}

// The cut can end in blanks that the entry itself did not end in; they are
// dropped as the entry's own are, or the address would not read back the same
// once the panel has written it.
void ApplyAddress(PanelState& state, const QString& entry) {
    QString address = Mid(entry, 12, AddressLength);
    while (address.endsWith(QLatin1Char(' ')) || address.endsWith(QLatin1Char('\t'))) {
        address.chop(1);
    }
    state.IPAddress = address.isEmpty() ? DefaultAddress : address;
}

bool ApplyPort(PanelState& state, const QString& entry) {
    const std::optional<int32_t> port = NumberReader::ReadInt32(Mid(entry, 9, 5));
    if (!port) return false;
    state.IPPort = *port <= 0 ? DefaultPort : *port;
    return true;
}

bool ApplyGainStage(PanelState& state, const QString& entry) {
    const std::optional<int16_t> stage = Int16At(entry, 12, 5);
    if (!stage) return false;
    state.GainStage = *stage > GainStage::DeviceId ? int16_t{0} : *stage;
    return true;
}

// Every fader's channel and stereo flag start again from 0 at a new count.
bool ApplyFaderCount(PanelState& state, const QString& entry) {
    const std::optional<int16_t> count = Int16At(entry, 13, 5);
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
std::optional<FaderValue> ReadFaderValue(const QString& entry, const std::vector<int16_t>& table,
                                         int16_t faderCount) {
    const bool oneDigit = Mid(entry, 7, 1) == QLatin1String("=");
    const std::optional<int16_t> number = oneDigit ? Int16At(entry, 6, 1) : Int16At(entry, 6, 2);
    const std::optional<int16_t> value = oneDigit ? Int16At(entry, 8, 5) : Int16At(entry, 9, 5);
    if (!number || !value) return std::nullopt;
    const int fader = *number - 1;
    if (fader < 0 || fader >= faderCount || static_cast<size_t>(fader) >= table.size()) {
        return std::nullopt;
    }
    return FaderValue{static_cast<size_t>(fader), *value};
}

// The file numbers channels from 1 except in Device ID mode; a channel of 0
// or below means the first channel rather than a negative one.
int16_t StoredChannel(int16_t gainStage, int16_t value) {
    if (gainStage == GainStage::DeviceId) return value < 0 ? int16_t{0} : value;
    return value <= 0 ? int16_t{0} : static_cast<int16_t>(value - 1);
}

bool ApplyChan(PanelState& state, const QString& entry) {
    const std::optional<FaderValue> read = ReadFaderValue(entry, state.Chan, state.FaderCount);
    if (!read) return false;
    state.Chan[read->fader] = StoredChannel(state.GainStage, read->value);
    return true;
}

bool ApplyLink(PanelState& state, const QString& entry) {
    const std::optional<FaderValue> read = ReadFaderValue(entry, state.Link, state.FaderCount);
    if (!read) return false;
    state.Link[read->fader] = read->value > 1 ? int16_t{0} : read->value;
    return true;
}

bool Starts(const QString& entry, const char* key) {
    return entry.startsWith(QLatin1String(key), Qt::CaseSensitive);
}

}  // namespace

bool ApplyIniEntry(PanelState& state, const QString& entry) {
    if (Starts(entry, "IP Address")) {
        ApplyAddress(state, entry);
        return true;
    }
    if (Starts(entry, "IP Port")) return ApplyPort(state, entry);
    if (Starts(entry, "Gain Stage")) return ApplyGainStage(state, entry);
    if (Starts(entry, "Fader Count")) return ApplyFaderCount(state, entry);
    if (Starts(entry, "Chan ")) return ApplyChan(state, entry);
    if (Starts(entry, "Link ")) return ApplyLink(state, entry);
    return true;
}
