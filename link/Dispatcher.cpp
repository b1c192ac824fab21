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

enum class Step { Again, Done };

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

Step TakeOneMessage(ReceiveBuffer& buffer, LinkContext& ctx, const DecoderTable& decoders) {
    if (buffer.IsEmpty() || !SkipToCommandByte(buffer)) return Step::Done;

    const uint8_t command = buffer.At(0);
    if (command == Frame::KeepAliveQuestion) {
        buffer.Discard(1);
        ctx.sender.SendToSwitcher(QByteArray(1, static_cast<char>(Frame::KeepAliveAnswer)));
        return Step::Done;
    }
    if (command == Frame::KeepAliveAnswer || command == Frame::ShortNoAction1 ||
        command == Frame::ShortNoAction3) {
        buffer.Discard(1);
        return Step::Done;
    }

    const qsizetype end = buffer.FindEOM();
    if (end == 0) return Step::Done;  // waits for the rest of the message

    // A command byte before the end byte starts a new message: the one in
    // front of it never got its end byte and is dropped.
    const qsizetype cut = buffer.FindCommandByte(1, end - 1);
    if (cut > 0) {
        buffer.Discard(cut);
        return Step::Again;
    }

    const QByteArray message = buffer.TrimBuffer(end);
    const auto decoder = decoders.find(command);
    if (decoder != decoders.end()) decoder->second(ctx, message);
    return Step::Done;
}

}  // namespace

const DecoderTable& SwitcherDecoders() {
    static const DecoderTable table = {
        {0x81, ProcessTypeRequest},   {0xE0, ReceiveAdvancedGain}, {0xE3, ReceiveGain},
        {0xF6, ProcessCrosspointMap}, {0xFA, ReceiveLinks},        {0xFC, ProcessAlphaLabels},
    };
    return table;
}

void ProcessSwitcherBuffer(ReceiveBuffer& buffer, LinkContext& ctx, const DecoderTable& decoders) {
    try {
        while (TakeOneMessage(buffer, ctx, decoders) == Step::Again) {
        }
    } catch (...) {
        ctx.log.LogError(QStringLiteral("Error Processing Command"),
                         QStringLiteral("Switcher Message Error"));
    }
}
