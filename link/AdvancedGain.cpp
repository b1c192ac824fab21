#include "AdvancedGain.h"

#include <algorithm>
#include <optional>

#include "AdvancedGainStages.h"
#include "ErrorSink.h"
#include "Frame.h"
#include "MessageReader.h"
#include "PanelState.h"
#include "PanelView.h"
#include "TableAccess.h"

namespace {
constexpr int LargestGainCode = 2024;
constexpr int16_t ZeroDbCode = 1024;
constexpr int LargestCheckedChannel = 4096;
constexpr uint8_t LargestExpectedStage = 16;
constexpr uint8_t LargestKnownStage = 29;

QString messageLocation() { return QStringLiteral("Advanced Gain Message"); }

void logUnusualStage(ErrorSink& log, uint8_t stage) {
    if (stage > LargestKnownStage) {
        log.LogError(QStringLiteral("Invalid Gain Satge (%1)").arg(int{stage}), messageLocation());
    } else if (stage > LargestExpectedStage) {
        log.LogError(QStringLiteral("Unexpected Gain Satge (%1)").arg(int{stage}),
                     messageLocation());
    }
}

// A code the faders cannot show is logged and taken as 0 dB.
int16_t usableGainCode(ErrorSink& log, int16_t code, uint8_t stage) {
    if (code <= LargestGainCode) return code;
    log.LogError(QStringLiteral("Invalid Gain (%1) Gain Stage: %2").arg(code).arg(int{stage}),
                 messageLocation());
    return ZeroDbCode;
}

// The panel's gain stage a field belongs to, and whether the gain was
// stored: only for channels the switcher has declared in its alpha tables.
// A declared channel beyond the gain table is a fault, not a silent skip.
std::optional<int16_t> storeGain(PanelState& state, AdvancedGainField field, int channel,
                                 int16_t code) {
    switch (field) {
        case AdvancedGainField::InputSensitivity:
            if (channel >= state.SourceCount) return std::nullopt;
            entryAt(state.InputGains, channel).InputSensitivity = code;
            return GainStage::InputTrim;
        case AdvancedGainField::DspOutput:
            if (channel >= state.DestinationCount) return std::nullopt;
            entryAt(state.OutputGains, channel).DspOutput = code;
            return GainStage::DspOutput;
        case AdvancedGainField::FinalOutput:
            if (channel >= state.DestinationCount) return std::nullopt;
            entryAt(state.OutputGains, channel).FinalOutput = code;
            return GainStage::AnalogOutput;
        case AdvancedGainField::None:
            break;
    }
    return std::nullopt;
}

void applyStage(LinkContext& ctx, uint8_t stageCode, int channel, int16_t code) {
    const AdvancedGainStage stage = advancedGainStageOf(stageCode);
    if (stage.checksChannel && channel > LargestCheckedChannel) {
        ctx.log.LogError(QStringLiteral("Invalid channel - %1").arg(channel + 1), stage.name);
    }
    if (const std::optional<int16_t> panelStage =
            storeGain(ctx.state, stage.field, channel, code)) {
        ctx.view.gainReported(*panelStage, channel);
    }
}

// Each field is logged as soon as it is read, so a message that breaks off
// mid-entry still leaves the entries of what came before it.
void readAndApplyEntry(LinkContext& ctx, MessageReader& reader) {
    const uint8_t flags = reader.byte();
    const uint8_t stage = reader.byte();
    logUnusualStage(ctx.log, stage);
    const int16_t rawCode = reader.pair();
    const int channel = reader.pair();
    if (flags & AdvancedGainFlags::ExtraPair) reader.skip(2);
    const int16_t code = usableGainCode(ctx.log, rawCode, stage);
    if (flags & AdvancedGainFlags::FadeTime) {
        reader.skip(1);
        ctx.log.LogError(QStringLiteral("Unexpected Fade Time"), messageLocation());
    }
    applyStage(ctx, stage, channel, code);
}

}  // namespace

bool ReceiveAdvancedGain(LinkContext& ctx, const QByteArray& message) {
    try {
        if (!Frame::hasValidChecksum(message)) {
            ctx.log.LogError(QStringLiteral("Check Sum Error"), messageLocation());
            return false;
        }
        const QByteArray body = withoutTrailer(message);
        MessageReader reader(body, 2);
        const uint8_t type = reader.byte();
        if (type != ExpectedAdvancedGainType) {
            ctx.log.LogError(QStringLiteral("Unexpected message type (%1)").arg(int{type}),
                             messageLocation());
        }
        const int count = reader.byte();
        for (int i = 0; i < count; ++i) readAndApplyEntry(ctx, reader);
        ctx.view.requestRefresh();
    } catch (const std::exception&) {
        ctx.log.LogError(QStringLiteral("Error Receiving Advanced Gain"),
                         QStringLiteral("Switcher Message Error"));
    }
    return false;
}

QByteArray encodeAdvancedGain(const std::vector<AdvancedGainEntry>& entries, uint8_t messageType) {
    QByteArray data;
    data.append('\0');  // not examined by the receiver
    data.append(static_cast<char>(messageType & 0x7F));
    const size_t count = std::min(entries.size(), MaxAdvancedGainEntries);
    data.append(static_cast<char>(count));
    for (size_t i = 0; i < count; ++i) {
        const AdvancedGainEntry& entry = entries[i];
        data.append(static_cast<char>(entry.flags & 0x7F));
        data.append(static_cast<char>(entry.stage & 0x7F));
        Frame::append7BitPair(data, entry.code);
        Frame::append7BitPair(data, entry.channel);
        if (entry.flags & AdvancedGainFlags::ExtraPair) Frame::append7BitPair(data, entry.extra);
        if (entry.flags & AdvancedGainFlags::FadeTime) {
            data.append(static_cast<char>(entry.fadeTime & 0x7F));
        }
    }
    return Frame::buildMessage(Frame::Command::AdvancedGain, data);
}
