// One panel's receive side without socket or window: bytes go into a bounded
// receive buffer piece by piece, and after each piece the buffer is worked off
// as tmrDecode does, one message per call, until it is empty or waits for an
// end byte. The buffer's invariants are checked on the way; the decoders run
// watched (DecoderWatch.h) over one panel state.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

#include "DecoderWatch.h"
#include "PanelState.h"
#include "ReceiveBuffer.h"
#include "Recorders.h"

class ReceiveHarness {
public:
    // Small, so that floods and the dropping of unfinished messages are met
    // within the input sizes a fuzzer tries.
    static constexpr qsizetype BufferLimit = 2048;

    ReceiveHarness();
    void Receive(const QByteArray& piece);

private:
    void WorkOffBuffer();
    void CheckBufferEndsPending() const;
    bool WaitsForEndByte() const;

    PanelState state_;
    RecordingView view_;
    RecordingLog log_;
    WatchedSender sender_;
    LinkContext ctx_{state_, view_, log_, sender_};
    DecoderTable decoders_;
    ReceiveBuffer buffer_{BufferLimit};
    // Every byte received and not yet consumed or dropped: the buffer must
    // hold exactly this, or a tail of it after it dropped from the front.
    QByteArray pending_;
};

// The bytes after the first, cut into pieces whose lengths follow from the
// first byte, so the fuzzer chooses both the stream and where it breaks.
std::vector<QByteArray> PiecesOf(const uint8_t* data, size_t size);
