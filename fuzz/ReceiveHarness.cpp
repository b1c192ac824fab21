// Feeding and working off the receive buffer, with its checks.
#include "ReceiveHarness.h"

#include <algorithm>

#include "Frame.h"
#include "FuzzCheck.h"
#include "TypeRequest.h"

namespace {

// Every decoder, the type request's without its 100 ms hold of the thread:
// a few requests in an input would leave the fuzzer a handful of runs a second.
DecoderTable DecodersToFuzz() {
    DecoderTable decoders = SwitcherDecoders();
    decoders[Frame::Command::Type] = [](LinkContext& ctx, const QByteArray& message) {
        return AnswerTypeRequest(ctx, message, [](qint64) {});
    };
    return decoders;
}

}  // namespace

ReceiveHarness::ReceiveHarness() : decoders_(WatchedDecoders(DecodersToFuzz(), sender_)) {}

void ReceiveHarness::Receive(const QByteArray& piece) {
    pending_ += piece;
    buffer_.Append(piece);
    Require(buffer_.Size() <= BufferLimit, "the receive buffer stays within its bound");
    CheckBufferEndsPending();
    pending_ = pending_.right(buffer_.Size());
    WorkOffBuffer();
}

// Each call must take something from the front, or leave an unfinished
// message waiting for its end byte; anything else would tick forever.
void ReceiveHarness::WorkOffBuffer() {
    while (!buffer_.IsEmpty()) {
        const qsizetype before = buffer_.Size();
        const Dispatched done = ProcessSwitcherBuffer(buffer_, ctx_, decoders_);
        Require(buffer_.Size() <= before, "decoding never adds bytes");
        CheckBufferEndsPending();
        pending_ = pending_.right(buffer_.Size());
        if (!done.tookMessage) {
            Require(WaitsForEndByte(), "a call that takes no message waits for an end byte");
            return;
        }
        Require(buffer_.Size() < before, "a message taken leaves the buffer");
    }
}

void ReceiveHarness::CheckBufferEndsPending() const {
    const qsizetype size = buffer_.Size();
    Require(size <= pending_.size(), "the buffer holds only bytes received");
    const qsizetype offset = pending_.size() - size;
    for (qsizetype i = 0; i < size; ++i) {
        Require(buffer_.At(i) == Frame::byteAt(pending_, offset + i),
                "bytes leave the buffer from the front only");
    }
}

bool ReceiveHarness::WaitsForEndByte() const {
    if (!Frame::isCommandByte(buffer_.At(0))) return false;
    for (qsizetype i = 0; i < buffer_.Size(); ++i) {
        if (buffer_.At(i) == Frame::EndOfMessage) return false;
    }
    return true;
}

std::vector<QByteArray> PiecesOf(const uint8_t* data, size_t size) {
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
