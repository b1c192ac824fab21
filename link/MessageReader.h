// Bounds-checked reading of a received message. A read past the last byte
// throws MessageTooShort, which each decoder turns into its own log entry, so
// no decoder can ever read outside the bytes it was given.
#pragma once

#include <QByteArray>
#include <stdexcept>

#include "Frame.h"

struct MessageTooShort : std::runtime_error {
    MessageTooShort() : std::runtime_error("message ends before its declared content") {}
};

class MessageReader {
public:
    explicit MessageReader(const QByteArray& message, qsizetype offset = 0)
        : m_bytes(message), m_pos(offset) {}

    uint8_t byte() {
        if (m_pos < 0 || m_pos >= m_bytes.size()) throw MessageTooShort();
        return Frame::byteAt(m_bytes, m_pos++);
    }
    int16_t pair() {
        const uint8_t low = byte();
        const uint8_t high = byte();
        return Frame::Combine7Bit(low, high);
    }
    void skip(qsizetype count) {
        if (count < 0 || m_pos + count > m_bytes.size()) throw MessageTooShort();
        m_pos += count;
    }
    qsizetype position() const { return m_pos; }

private:
    const QByteArray& m_bytes;
    qsizetype m_pos;
};
