// Takes one message at a time from the front of the receive buffer and hands
// it to the decoder of its command byte. Bytes that cannot start a message are
// skipped, a message cut short by the next command byte is dropped, and the
// one-byte messages are answered or dropped here.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "LinkContext.h"
#include "ReceiveBuffer.h"

// A decoder takes a whole message and says whether it wrote to the switcher
// in answer (a type request answered, a table asked for again).
using Decoder = std::function<bool(LinkContext&, const QByteArray&)>;
using DecoderTable = std::map<uint8_t, Decoder>;

// What one call of ProcessSwitcherBuffer did.
struct Dispatched {
    bool tookMessage = false;  // false: no whole message was there, only an unfinished one
    uint8_t command = 0;       // the command byte of the message taken
    bool answered = false;     // the panel wrote to the switcher in answer to it
};

// Takes the next whole message from the front of the buffer: a one-byte short
// message (0xF1, 0xF3, 0xF4, 0xF5) or a long message up to its end byte.
// Bytes that cannot start a message are skipped and a message cut short by
// the next command byte is dropped on the way. Nothing when no whole message
// is there yet; an unfinished one stays in the buffer. Used by both ends of
// the link.
std::optional<QByteArray> takeNextMessage(ReceiveBuffer& buffer);

// The decoders of the messages the switcher sends; other commands are dropped.
const DecoderTable& switcherDecoders();

// Consumes at most one message (or one short message) from the front.
Dispatched ProcessSwitcherBuffer(ReceiveBuffer& buffer, LinkContext& ctx,
                                 const DecoderTable& decoders = switcherDecoders());
