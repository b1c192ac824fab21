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
bool skipToCommandByte(ReceiveBuffer& buffer) {
    const qsizetype first = buffer.findCommandByte(0, buffer.size());
    if (first < 0) {
        buffer.clear();
        return false;
    }
    buffer.discard(first);
    return true;
}

bool isShortMessage(uint8_t command) {
    return command == Frame::KeepAliveQuestion || command == Frame::KeepAliveAnswer ||
           command == Frame::ShortNoAction1 || command == Frame::ShortNoAction3;
}

}  // namespace

std::optional<QByteArray> takeNextMessage(ReceiveBuffer& buffer) {
    while (!buffer.isEmpty() && skipToCommandByte(buffer)) {
        if (isShortMessage(buffer.at(0))) return buffer.TrimBuffer(1);

        const qsizetype end = buffer.FindEOM();
        if (end == 0) return std::nullopt;  // waits for the rest of the message

        // A command byte before the end byte starts a new message: the one in
        // front of it never got its end byte and is dropped.
        const qsizetype cut = buffer.findCommandByte(1, end - 1);
        if (cut > 0) {
            buffer.discard(cut);
            continue;
        }
        return buffer.TrimBuffer(end);
    }
    return std::nullopt;
}

const DecoderTable& switcherDecoders() {
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
        const std::optional<QByteArray> message = takeNextMessage(buffer);
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
