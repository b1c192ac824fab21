#include "AdvancedGain.h"

#include <algorithm>

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

QString MessageLocation() { return QStringLiteral("Advanced Gain Message"); }

void LogUnusualStage(ErrorSink& log, uint8_t stage) {
    if (stage > LargestKnownStage) {
        log.LogError(QStringLiteral("Invalid Gain Satge (%1)").arg(int{stage}), MessageLocation());
    } else if (stage > LargestExpectedStage) {
        log.LogError(QStringLiteral("Unexpected Gain Satge (%1)").arg(int{stage}),
                     MessageLocation());
    }
}

// A code the faders cannot show is logged and taken as 0 dB.
int16_t UsableGainCode(ErrorSink& log, int16_t code, uint8_t stage) {
    if (code <= LargestGainCode) return code;
    log.LogError(QStringLiteral("Invalid Gain (%1) Gain Stage: %2").arg(code).arg(int{stage}),
                 MessageLocation());
    return ZeroDbCode;
}

// Stores only for channels the switcher has declared in its alpha tables; a
// declared channel beyond the gain table is a fault, not a silent skip.
void StoreGain(PanelState& state, AdvancedGainField field, int channel, int16_t code) {
    switch (field) {
        case AdvancedGainField::InputSensitivity:
            if (channel < state.SourceCount) {
                EntryAt(state.InputGains, channel).InputSensitivity = code;
            }
            break;
        case AdvancedGainField::DspOutput:
            if (channel < state.DestinationCount) {
                EntryAt(state.OutputGains, channel).DspOutput = code;
            }
            break;
        case AdvancedGainField::FinalOutput:
            if (channel < state.DestinationCount) {
                EntryAt(state.OutputGains, channel).FinalOutput = code;
            }
            break;
        case AdvancedGainField::None:
            break;
    }
}

void ApplyStage(LinkContext& ctx, uint8_t stageCode, int channel, int16_t code) {
    const AdvancedGainStage stage = AdvancedGainStageOf(stageCode);
    if (stage.checksChannel && channel > LargestCheckedChannel) {
        ctx.log.LogError(QStringLiteral("Invalid channel - %1").arg(channel + 1), stage.name);
    }
    StoreGain(ctx.state, stage.field, channel, code);
}

// Each field is logged as soon as it is read, so a message that breaks off
// mid-entry still leaves the entries of what came before it.
void ReadAndApplyEntry(LinkContext& ctx, MessageReader& reader) {
    const uint8_t flags = reader.Byte();
    const uint8_t stage = reader.Byte();
    LogUnusualStage(ctx.log, stage);
    const int16_t rawCode = reader.Pair();
    const int channel = reader.Pair();
    if (flags & AdvancedGainFlags::ExtraPair) reader.Skip(2);
    const int16_t code = UsableGainCode(ctx.log, rawCode, stage);
    if (flags & AdvancedGainFlags::FadeTime) {
        reader.Skip(1);
        ctx.log.LogError(QStringLiteral("Unexpected Fade Time"), MessageLocation());
    }
    ApplyStage(ctx, stage, channel, code);
}

}  // namespace

bool ReceiveAdvancedGain(LinkContext& ctx, const QByteArray& message) {
    try {
        if (!Frame::HasValidChecksum(message)) {
            ctx.log.LogError(QStringLiteral("Check Sum Error"), MessageLocation());
            return false;
        }
        const QByteArray body = WithoutTrailer(message);
        MessageReader reader(body, 2);
        const uint8_t type = reader.Byte();
        if (type != ExpectedAdvancedGainType) {
            ctx.log.LogError(QStringLiteral("Unexpected message type (%1)").arg(int{type}),
                             MessageLocation());
        }
        const int count = reader.Byte();
        for (int i = 0; i < count; ++i) ReadAndApplyEntry(ctx, reader);
        ctx.view.RequestRefresh();
    } catch (const std::exception&) {
        ctx.log.LogError(QStringLiteral("Error Receiving Advanced Gain"),
                         QStringLiteral("Switcher Message Error"));
    }
    return false;
}

QByteArray EncodeAdvancedGain(const std::vector<AdvancedGainEntry>& entries, uint8_t messageType) {
    QByteArray data;
    data.append('\0');  // not examined by the receiver
    data.append(static_cast<char>(messageType & 0x7F));
    const size_t count = std::min(entries.size(), MaxAdvancedGainEntries);
    data.append(static_cast<char>(count));
    for (size_t i = 0; i < count; ++i) {
        const AdvancedGainEntry& entry = entries[i];
        data.append(static_cast<char>(entry.flags & 0x7F));
        data.append(static_cast<char>(entry.stage & 0x7F));
        Frame::Append7BitPair(data, entry.code);
        Frame::Append7BitPair(data, entry.channel);
        if (entry.flags & AdvancedGainFlags::ExtraPair) Frame::Append7BitPair(data, entry.extra);
        if (entry.flags & AdvancedGainFlags::FadeTime) {
            data.append(static_cast<char>(entry.fadeTime & 0x7F));
        }
    }
    return Frame::BuildMessage(Frame::Command::AdvancedGain, data);
}
