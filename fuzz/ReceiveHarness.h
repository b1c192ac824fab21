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
    void receive(const QByteArray& piece);

private:
    void workOffBuffer();
    void checkBufferEndsPending() const;
    bool waitsForEndByte() const;

    PanelState m_state;
    RecordingView m_view;
    RecordingLog m_log;
    WatchedSender m_sender;
    LinkContext m_ctx{m_state, m_view, m_log, m_sender};
    DecoderTable m_decoders;
    ReceiveBuffer m_buffer{BufferLimit};
    // Every byte received and not yet consumed or dropped: the buffer must
    // hold exactly this, or a tail of it after it dropped from the front.
    QByteArray m_pending;
};

// The bytes after the first, cut into pieces whose lengths follow from the
// first byte, so the fuzzer chooses both the stream and where it breaks.
std::vector<QByteArray> piecesOf(const uint8_t* data, size_t size);
