#include "ReceiveBuffer.h"

#include <algorithm>

#include "Frame.h"

namespace {
// Consumed bytes are given back only once they outweigh what is still
// pending, which keeps the cost of compaction proportional to what was taken.
constexpr qsizetype CompactionFloor = 4096;
}  // namespace

ReceiveBuffer::ReceiveBuffer(qsizetype limit) : limit_(std::max<qsizetype>(limit, 1)) {}

bool ReceiveBuffer::Append(const QByteArray& bytes) {
    data_.append(bytes);
    if (Size() <= limit_) return true;
    DropFrontUntilWithinLimit();
    return false;
}

void ReceiveBuffer::DropFrontUntilWithinLimit() {
    while (Size() > limit_) {
        const qsizetype end = FindEOM();
        if (end == 0) {
            Clear();
            return;
        }
        Discard(end);
    }
}

qsizetype ReceiveBuffer::FindCommandByte(qsizetype from, qsizetype to) const {
    to = std::min(to, Size());
    for (qsizetype i = std::max<qsizetype>(from, 0); i < to; ++i) {
        if (Frame::isCommandByte(At(i))) return i;
    }
    return -1;
}

qsizetype ReceiveBuffer::FindEOM() {
    const qsizetype from = std::max(head_, eomSearchFrom_);
    const qsizetype at = data_.indexOf(static_cast<char>(Frame::EndOfMessage), from);
    if (at < 0) {
        eomSearchFrom_ = data_.size();
        return 0;
    }
    eomSearchFrom_ = at;
    return at - head_ + 1;
}

QByteArray ReceiveBuffer::TrimBuffer(qsizetype n) {
    if (n < 1) return {};
    n = std::min(n, Size());
    QByteArray taken = data_.mid(head_, n);
    Discard(n);
    return taken;
}

void ReceiveBuffer::Discard(qsizetype n) {
    if (n < 1) return;
    if (n >= Size()) {
        Clear();
        return;
    }
    head_ += n;
    CompactIfWorthIt();
}

void ReceiveBuffer::Clear() {
    data_.clear();
    head_ = 0;
    eomSearchFrom_ = 0;
}

void ReceiveBuffer::CompactIfWorthIt() {
    if (head_ < CompactionFloor || head_ < Size()) return;
    data_.remove(0, head_);
    eomSearchFrom_ = std::max<qsizetype>(eomSearchFrom_ - head_, 0);
    head_ = 0;
}
