// Bounds-checked reading of a received message. A read past the last byte
// throws MessageTooShort, which each decoder turns into its own log entry, so
// no decoder can ever read outside the bytes it was given.
#pragma once

#include "Frame.h"

#include <QByteArray>

#include <stdexcept>

struct MessageTooShort : std::runtime_error {
    MessageTooShort() : std::runtime_error("message ends before its declared content") {}
};

class MessageReader {
public:
    explicit MessageReader(const QByteArray& message, qsizetype offset = 0)
        : bytes_(message), pos_(offset) {}

    uint8_t Byte() {
        if (pos_ < 0 || pos_ >= bytes_.size()) throw MessageTooShort();
        return Frame::byteAt(bytes_, pos_++);
    }
    int16_t Pair() {
        const uint8_t low = Byte();
        const uint8_t high = Byte();
        return Frame::Combine7Bit(low, high);
    }
    void Skip(qsizetype count) {
        if (count < 0 || pos_ + count > bytes_.size()) throw MessageTooShort();
        pos_ += count;
    }
    qsizetype Position() const { return pos_; }

private:
    const QByteArray& bytes_;
    qsizetype pos_;
};
