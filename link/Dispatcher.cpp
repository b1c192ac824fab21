#include "Dispatcher.h"

#include "AdvancedGain.h"
#include "AlphaTables.h"
#include "CrosspointMap.h"
#include "ErrorSink.h"
#include "Frame.h"
#include "GainMessages.h"
#include "LinkTables.h"
#include "TypeRequest.h"

namespace {

// Skips to the first command byte; false when the buffer holds none.
bool SkipToCommandByte(ReceiveBuffer& buffer) {
    const qsizetype first = buffer.FindCommandByte(0, buffer.Size());
    if (first < 0) {
        buffer.Clear();
        return false;
    }
    buffer.Discard(first);
    return true;
}

bool IsShortMessage(uint8_t command) {
    return command == Frame::KeepAliveQuestion || command == Frame::KeepAliveAnswer ||
           command == Frame::ShortNoAction1 || command == Frame::ShortNoAction3;
}

}  // namespace

std::optional<QByteArray> TakeNextMessage(ReceiveBuffer& buffer) {
    while (!buffer.IsEmpty() && SkipToCommandByte(buffer)) {
        if (IsShortMessage(buffer.At(0))) return buffer.TrimBuffer(1);

        const qsizetype end = buffer.FindEOM();
        if (end == 0) return std::nullopt;  // waits for the rest of the message

        // A command byte before the end byte starts a new message: the one in
        // front of it never got its end byte and is dropped.
        const qsizetype cut = buffer.FindCommandByte(1, end - 1);
        if (cut > 0) {
            buffer.Discard(cut);
            continue;
        }
        return buffer.TrimBuffer(end);
    }
    return std::nullopt;
}

const DecoderTable& SwitcherDecoders() {
    static const DecoderTable table = {
        {Frame::Command::Type, ProcessTypeRequest},
        {Frame::Command::AdvancedGain, ReceiveAdvancedGain},
        {Frame::Command::Gain, ReceiveGain},
        {Frame::Command::CrosspointMap, ProcessCrosspointMap},
        {Frame::Command::Links, ReceiveLinks},
        {Frame::Command::AlphaTable, ProcessAlphaLabels},
    };
    return table;
}

Dispatched ProcessSwitcherBuffer(ReceiveBuffer& buffer, LinkContext& ctx,
                                 const DecoderTable& decoders) {
    Dispatched done;
    try {
        const std::optional<QByteArray> message = TakeNextMessage(buffer);
        if (!message) return done;
        done.tookMessage = true;
        done.command = static_cast<uint8_t>(message->at(0));
        if (done.command == Frame::KeepAliveQuestion) {
            ctx.sender.SendToSwitcher(QByteArray(1, static_cast<char>(Frame::KeepAliveAnswer)));
            done.answered = true;
            return done;
        }
        const auto decoder = decoders.find(done.command);
        if (decoder != decoders.end()) done.answered = decoder->second(ctx, *message);
    } catch (...) {
        // A fault before anything was taken still counts as work done, so
        // the decoding carries on rather than stalling on it.
        done.tookMessage = true;
        ctx.log.LogError(QStringLiteral("Error Processing Command"),
                         QStringLiteral("Switcher Message Error"));
    }
    return done;
}
