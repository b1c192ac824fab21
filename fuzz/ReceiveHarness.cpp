// Feeding and working off the receive buffer, with its checks.
#include "ReceiveHarness.h"

#include <algorithm>

#include "Frame.h"
#include "FuzzCheck.h"
#include "TypeRequest.h"

namespace {

// Every decoder, the type request's without its 100 ms hold of the thread:
// a few requests in an input would leave the fuzzer a handful of runs a second.
DecoderTable decodersToFuzz() {
    DecoderTable decoders = switcherDecoders();
    decoders[Frame::Command::Type] = [](LinkContext& ctx, const QByteArray& message) {
        return answerTypeRequest(ctx, message, [](qint64) {});
    };
    return decoders;
}

}  // namespace

ReceiveHarness::ReceiveHarness() : m_decoders(watchedDecoders(decodersToFuzz(), m_sender)) {}

void ReceiveHarness::receive(const QByteArray& piece) {
    m_pending += piece;
    m_buffer.append(piece);
    require(m_buffer.size() <= BufferLimit, "the receive buffer stays within its bound");
    checkBufferEndsPending();
    m_pending = m_pending.right(m_buffer.size());
    workOffBuffer();
}

// Each call must take something from the front, or leave an unfinished
// message waiting for its end byte; anything else would tick forever.
void ReceiveHarness::workOffBuffer() {
    while (!m_buffer.isEmpty()) {
        const qsizetype before = m_buffer.size();
        const Dispatched done = ProcessSwitcherBuffer(m_buffer, m_ctx, m_decoders);
        require(m_buffer.size() <= before, "decoding never adds bytes");
        checkBufferEndsPending();
        m_pending = m_pending.right(m_buffer.size());
        // Bytes that cannot start a message may all be skipped on the way.
        if (!done.tookMessage) {
            require(m_buffer.isEmpty() || waitsForEndByte(),
                    "a call that takes no message leaves nothing or an unfinished one");
            return;
        }
        require(m_buffer.size() < before, "a message taken leaves the buffer");
    }
}

void ReceiveHarness::checkBufferEndsPending() const {
    const qsizetype size = m_buffer.size();
    require(size <= m_pending.size(), "the buffer holds only bytes received");
    const qsizetype offset = m_pending.size() - size;
    for (qsizetype i = 0; i < size; ++i) {
        require(m_buffer.at(i) == Frame::byteAt(m_pending, offset + i),
                "bytes leave the buffer from the front only");
    }
}

bool ReceiveHarness::waitsForEndByte() const {
    if (!Frame::isCommandByte(m_buffer.at(0))) return false;
    for (qsizetype i = 0; i < m_buffer.size(); ++i) {
        if (m_buffer.at(i) == Frame::EndOfMessage) return false;
    }
    return true;
}

std::vector<QByteArray> piecesOf(const uint8_t* data, size_t size) {
    std::vector<QByteArray> pieces;
    if (size == 0) return pieces;
    uint32_t state = data[0] | 0x100u;  // never zero
    const size_t longest = 1 + data[0] % 64;
    for (size_t at = 1; at < size;) {
        state ^= state << 13;  // xorshift32
        state ^= state >> 17;
        state ^= state << 5;
        const size_t length = std::min(size - at, 1 + state % longest);
        pieces.emplace_back(reinterpret_cast<const char*>(data + at),
                            static_cast<qsizetype>(length));
        at += length;
    }
    return pieces;
}
