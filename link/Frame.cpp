#include "Frame.h"

namespace Frame {

int16_t Combine7Bit(uint8_t low, uint8_t high) { return static_cast<int16_t>(high * 128 + low); }

void append7BitPair(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>(value & 0x7F));
    bytes.append(static_cast<char>((value >> 7) & 0x7F));
}

uint8_t ByteChecksum(const QByteArray& message, int n) {
    unsigned sum = 0;
    const qsizetype last = message.size() - 1 - n;
    for (qsizetype i = 1; i <= last; ++i) sum = (sum + byteAt(message, i)) & 0x7F;
    return static_cast<uint8_t>(sum);
}

bool hasValidChecksum(const QByteArray& message) {
    if (message.size() < 2) return false;
    return ByteChecksum(message, 2) == byteAt(message, message.size() - 2);
}

QByteArray buildMessage(uint8_t command, const QByteArray& data) {
    QByteArray message;
    message.reserve(data.size() + 3);
    message.append(static_cast<char>(command));
    message.append(data);
    message.append(static_cast<char>(ByteChecksum(message, 0)));
    message.append(static_cast<char>(EndOfMessage));
    return message;
}

qsizetype FindEOM(const QByteArray& bytes, qsizetype from) {
    const qsizetype at = bytes.indexOf(static_cast<char>(EndOfMessage), from);
    return at < 0 ? 0 : at + 1;
}

}  // namespace Frame
