// The bytes received from the switcher and not yet decoded, oldest first.
// Bytes are appended at the back and taken whole messages at a time from the
// front. Taking from the front moves a read offset instead of copying the rest,
// and the search for the end byte resumes where it stopped, so a burst of
// messages or a slowly arriving long one costs time in proportion to its size.
// The buffer is bounded so that a peer that never sends an end byte cannot
// exhaust memory.
#pragma once

#include <QByteArray>
#include <cstdint>

class ReceiveBuffer {
public:
    // Well above the largest real message (a full name table or crosspoint map
    // is a few MB).
    static constexpr qsizetype DefaultLimit = qsizetype{16} * 1024 * 1024;

    explicit ReceiveBuffer(qsizetype limit = DefaultLimit);

    // Appends bytes. When the pending bytes pass the limit, messages are
    // dropped from the front (an unfinished one entirely) until they fit
    // again; the result is false when that happened.
    bool append(const QByteArray& bytes);

    qsizetype size() const { return m_data.size() - m_head; }
    bool isEmpty() const { return size() == 0; }
    // Byte i counted from the front; i must be below Size().
    uint8_t at(qsizetype i) const { return static_cast<uint8_t>(m_data[m_head + i]); }

    // Position of the first byte with bit 7 set in [from, to), or -1.
    qsizetype findCommandByte(qsizetype from, qsizetype to) const;
    // Length of the front message up to and including its first 0xFF, or 0.
    qsizetype FindEOM();

    // Removes the first n bytes (all when n is at least Size()) and returns
    // them; n below 1 removes nothing.
    QByteArray TrimBuffer(qsizetype n);
    // As TrimBuffer, without handing the bytes back.
    void discard(qsizetype n);
    void clear();

private:
    void dropFrontUntilWithinLimit();
    void compactIfWorthIt();

    QByteArray m_data;
    qsizetype m_head = 0;  // index in data_ of the first pending byte
    // No 0xFF lies in data_[head_, eomSearchFrom_): the search resumes here.
    qsizetype m_eomSearchFrom = 0;
    qsizetype m_limit;
};
