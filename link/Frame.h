// The wire frame of switcher messages: command byte (bit 7 set), 7-bit data
// bytes, a 7-bit checksum of the data bytes, and the end byte 0xFF. The four
// short messages 0xF1, 0xF3, 0xF4 and 0xF5 travel as a single byte.
#pragma once

#include <QByteArray>
#include <cstdint>

namespace Frame {

constexpr uint8_t EndOfMessage = 0xFF;
constexpr uint8_t ShortNoAction1 = 0xF1;
constexpr uint8_t ShortNoAction3 = 0xF3;
constexpr uint8_t KeepAliveAnswer = 0xF4;
constexpr uint8_t KeepAliveQuestion = 0xF5;

// Command bytes of the long messages, in both directions.
namespace Command {
constexpr uint8_t Type = 0x81;  // the switcher's type request, the panel's reply
constexpr uint8_t AdvancedGain = 0xE0;
constexpr uint8_t Gain = 0xE3;
constexpr uint8_t InfoRequest = 0xF2;
constexpr uint8_t CrosspointMap = 0xF6;
constexpr uint8_t Links = 0xFA;
constexpr uint8_t AlphaTable = 0xFC;
}  // namespace Command

inline uint8_t byteAt(const QByteArray& bytes, qsizetype i) {
    return static_cast<uint8_t>(bytes[i]);
}

inline bool isCommandByte(uint8_t b) { return (b & 0x80) != 0; }

// A 7-bit pair, low group first: high * 128 + low.
int16_t Combine7Bit(uint8_t low, uint8_t high);

// Appends value (0..16383) as a 7-bit pair, low group first.
void append7BitPair(QByteArray& bytes, int value);

// 7-bit sum of bytes 1 .. length-1-n; byte 0 (the command) never counts.
// n = 2 checks a received message, n = 0 sums a message being built.
uint8_t ByteChecksum(const QByteArray& message, int n);

// True when the byte before the end byte is the checksum of the data bytes.
bool hasValidChecksum(const QByteArray& message);

// Command byte and data bytes in, the complete framed message out.
QByteArray buildMessage(uint8_t command, const QByteArray& data);

// Position of the first 0xFF plus one (the length of the first message), or 0.
qsizetype FindEOM(const QByteArray& bytes, qsizetype from = 0);

}  // namespace Frame
