#include "GainMessages.h"

#include <stdexcept>
#include <vector>

#include "ErrorSink.h"
#include "Frame.h"
#include "MessageReader.h"
#include "PanelState.h"
#include "PanelView.h"

namespace {
// Byte 1 as the panel sends it; reports carry the same, and no receiver
// examines it.
constexpr uint8_t SentByPanel = 0x02;
constexpr int MaxPairValue = 16383;
constexpr int MaxStage = 127;
constexpr qsizetype FrameBytes = 9;  // everything but the entries

// --- sending

bool fitsPair(int value) { return value >= 0 && value <= MaxPairValue; }

QByteArray gainHeader(int16_t stage, int count, int firstChannel) {
    QByteArray data;
    data.append(static_cast<char>(SentByPanel));
    data.append(static_cast<char>(stage));
    Frame::append7BitPair(data, count);
    Frame::append7BitPair(data, firstChannel);
    return data;
}

QByteArray encodeEntries(uint8_t stage, int firstChannel, const std::vector<int16_t>& codes) {
    QByteArray data = gainHeader(stage, static_cast<int>(codes.size()), firstChannel);
    for (const int16_t code : codes) Frame::append7BitPair(data, code);
    return Frame::buildMessage(Frame::Command::Gain, data);
}

void logSendFault(LinkContext& ctx) {
    ctx.log.LogError(QStringLiteral("Error Sending Gain Message"),
                     QStringLiteral("Switcher Message Error"));
}

// A value the message cannot carry sends nothing and is logged.
template <typename Encode>
void sendOrLogFault(LinkContext& ctx, Encode encode) {
    try {
        const std::optional<QByteArray> message = encode();
        if (message) {
            ctx.sender.SendToSwitcher(*message);
        } else {
            logSendFault(ctx);
        }
    } catch (...) {
        logSendFault(ctx);
    }
}

// --- receiving

struct BadGainMessage : std::runtime_error {
    BadGainMessage() : std::runtime_error("gain message declares no usable channels") {}
};

bool isMixStage(uint8_t stage) { return stage >= 10 && stage <= 13; }

// Bytes per entry: a code pair, or two pairs for the mix stages, and one more
// byte after each entry for stages 16, 11 and 13.
int entryBytes(uint8_t stage) {
    if (isMixStage(stage)) return (stage == 11 || stage == 13) ? 5 : 4;
    return stage == 16 ? 3 : 2;
}

struct GainReport {
    uint8_t stage = 0;
    int firstChannel = 0;
    std::vector<int16_t> codes;  // one per channel; none for the mix stages
    qsizetype expectedLength = 0;
};

// Reads every declared entry before the length is judged, as the switcher's
// own framing leaves it: a message a byte or two short still reads (into its
// checksum and end byte), and is then dropped by the length test.
GainReport readGainReport(const QByteArray& message) {
    MessageReader reader(message, 2);
    GainReport report;
    report.stage = reader.byte();
    const int count = reader.pair();
    report.firstChannel = reader.pair();
    if (count < 1 || report.firstChannel < 0) throw BadGainMessage();

    const int bytesPerEntry = entryBytes(report.stage);
    for (int i = 0; i < count; ++i) {
        if (isMixStage(report.stage)) {
            reader.skip(bytesPerEntry);
        } else {
            report.codes.push_back(reader.pair());
            reader.skip(bytesPerEntry - 2);
        }
    }
    report.expectedLength = FrameBytes + qsizetype{count} * bytesPerEntry;
    return report;
}

// The tables grow so that their last index is first channel + count.
template <typename Entry>
void growTo(std::vector<Entry>& table, int lastIndex) {
    if (table.size() <= static_cast<size_t>(lastIndex)) {
        table.resize(static_cast<size_t>(lastIndex) + 1);
    }
}

template <typename Entry, typename Field>
void storeCodes(std::vector<Entry>& table, const GainReport& report, Field Entry::*field) {
    growTo(table, report.firstChannel + static_cast<int>(report.codes.size()));
    for (size_t i = 0; i < report.codes.size(); ++i) {
        table.at(static_cast<size_t>(report.firstChannel) + i).*field = report.codes[i];
    }
}

// Only the stages a fader bank can drive have anyone listening.
void tellReported(PanelView& view, const GainReport& report) {
    const auto stage = static_cast<int16_t>(report.stage);
    if (stage != GainStage::InputTrim && stage != GainStage::AnalogOutput &&
        stage != GainStage::DspOutput) {
        return;
    }
    const int count = static_cast<int>(report.codes.size());
    for (int i = 0; i < count; ++i) view.gainReported(stage, report.firstChannel + i);
}

void storeReport(PanelState& state, const GainReport& report) {
    const int lastIndex = report.firstChannel + static_cast<int>(report.codes.size());
    switch (report.stage) {
        case 0:  // reported, but the panel keeps no trim gains
            growTo(state.InputGains, lastIndex);
            break;
        case GainStage::InputTrim:
            storeCodes(state.InputGains, report, &InputGain::InputSensitivity);
            break;
        case GainStage::AnalogOutput:
            storeCodes(state.OutputGains, report, &OutputGain::FinalOutput);
            break;
        case GainStage::DspOutput:
            storeCodes(state.OutputGains, report, &OutputGain::DspOutput);
            break;
        default:
            break;
    }
}

}  // namespace

std::optional<QByteArray> encodeGainChange(int16_t stage, int16_t code, int16_t channel,
                                           int16_t extra) {
    const bool extraFits = extra == SwitcherLinkPort::NoExtra || fitsPair(extra);
    if (stage < 0 || stage > MaxStage || !fitsPair(code) || !fitsPair(channel) || !extraFits) {
        return std::nullopt;
    }
    QByteArray data = gainHeader(stage, 1, channel);
    Frame::append7BitPair(data, code);
    if (extra != SwitcherLinkPort::NoExtra) Frame::append7BitPair(data, extra);
    return Frame::buildMessage(Frame::Command::Gain, data);
}

std::optional<QByteArray> encodeStereoGainChange(int16_t stage, int16_t code, int16_t firstChannel,
                                                 int16_t count) {
    if (stage < 0 || stage > MaxStage || !fitsPair(code) || !fitsPair(firstChannel) ||
        !fitsPair(count)) {
        return std::nullopt;
    }
    return encodeEntries(static_cast<uint8_t>(stage), firstChannel,
                         std::vector<int16_t>(static_cast<size_t>(count), code));
}

QByteArray encodeGainReport(uint8_t stage, int firstChannel, const std::vector<int16_t>& codes) {
    return encodeEntries(static_cast<uint8_t>(stage & 0x7F), firstChannel, codes);
}

// The panel's own messages carry a pair per channel and, for a single
// channel, perhaps one extra pair; anything else is not a gain change.
std::optional<GainChange> decodeGainChange(const QByteArray& message) {
    try {
        if (message.isEmpty() || Frame::byteAt(message, 0) != Frame::Command::Gain ||
            !Frame::hasValidChecksum(message)) {
            return std::nullopt;
        }
        GainReport report = readGainReport(message);
        if (report.codes.empty() || entryBytes(report.stage) != 2) return std::nullopt;
        GainChange change{report.stage, report.firstChannel, std::move(report.codes), {}};
        if (message.size() == report.expectedLength) return change;
        if (message.size() == report.expectedLength + 2 && change.codes.size() == 1) {
            change.extra = MessageReader(message, report.expectedLength - 2).pair();
            return change;
        }
    } catch (const std::exception&) {
        // no channels, or too short for the channels it declares
    }
    return std::nullopt;
}

void sendGainChange(LinkContext& ctx, int16_t stage, int16_t code, int16_t channel, int16_t extra) {
    sendOrLogFault(ctx, [&] { return encodeGainChange(stage, code, channel, extra); });
}

void sendStereoGainChange(LinkContext& ctx, int16_t stage, int16_t code, int16_t firstChannel,
                          int16_t count) {
    sendOrLogFault(ctx, [&] { return encodeStereoGainChange(stage, code, firstChannel, count); });
}

bool ReceiveGain(LinkContext& ctx, const QByteArray& message) {
    try {
        if (!Frame::hasValidChecksum(message)) {
            ctx.log.LogError(QStringLiteral("Check Sum Error"), QStringLiteral("Gain Message"));
            return false;
        }
        const GainReport report = readGainReport(message);
        if (message.size() != report.expectedLength) return false;
        storeReport(ctx.state, report);
        tellReported(ctx.view, report);
        ctx.view.requestRefresh();
    } catch (...) {
        ctx.log.LogError(QStringLiteral("Error Receiving Gain"),
                         QStringLiteral("Switcher Message Error"));
    }
    return false;
}
