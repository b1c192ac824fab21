#include "ReceiveBuffer.h"

#include <algorithm>

#include "Frame.h"

namespace {
// Consumed bytes are given back only once they outweigh what is still
// pending, which keeps the cost of compaction proportional to what was taken.
constexpr qsizetype CompactionFloor = 4096;
}  // namespace

ReceiveBuffer::ReceiveBuffer(qsizetype limit) : m_limit(std::max<qsizetype>(limit, 1)) {}

bool ReceiveBuffer::append(const QByteArray& bytes) {
    m_data.append(bytes);
    if (size() <= m_limit) return true;
    dropFrontUntilWithinLimit();
    return false;
}

void ReceiveBuffer::dropFrontUntilWithinLimit() {
    while (size() > m_limit) {
        const qsizetype end = FindEOM();
        if (end == 0) {
            clear();
            return;
        }
        discard(end);
    }
}

qsizetype ReceiveBuffer::findCommandByte(qsizetype from, qsizetype to) const {
    to = std::min(to, size());
    for (qsizetype i = std::max<qsizetype>(from, 0); i < to; ++i) {
        if (Frame::isCommandByte(at(i))) return i;
    }
    return -1;
}

qsizetype ReceiveBuffer::FindEOM() {
    const qsizetype from = std::max(m_head, m_eomSearchFrom);
    const qsizetype at = m_data.indexOf(static_cast<char>(Frame::EndOfMessage), from);
    if (at < 0) {
        m_eomSearchFrom = m_data.size();
        return 0;
    }
    m_eomSearchFrom = at;
    return at - m_head + 1;
}

QByteArray ReceiveBuffer::TrimBuffer(qsizetype n) {
    if (n < 1) return {};
    n = std::min(n, size());
    QByteArray taken = m_data.mid(m_head, n);
    discard(n);
    return taken;
}

void ReceiveBuffer::discard(qsizetype n) {
    if (n < 1) return;
    if (n >= size()) {
        clear();
        return;
    }
    m_head += n;
    compactIfWorthIt();
}

void ReceiveBuffer::clear() {
    m_data.clear();
    m_head = 0;
    m_eomSearchFrom = 0;
}

void ReceiveBuffer::compactIfWorthIt() {
    if (m_head < CompactionFloor || m_head < size()) return;
    m_data.remove(0, m_head);
    m_eomSearchFrom = std::max<qsizetype>(m_eomSearchFrom - m_head, 0);
    m_head = 0;
}
