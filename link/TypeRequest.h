// The switcher's type request (0x81): the panel answers with its type, pauses,
// then asks for the name and link tables.
#pragma once

#include <QByteArray>
#include <functional>
#include <optional>

#include "LinkContext.h"

// The panel's answer: data bytes 10 and 1.
QByteArray typeReply();

// The switcher's question, in its four-byte form.
QByteArray encodeTypeRequest();

// The data bytes of a panel's type reply (10 and 1 for this panel), or nothing
// when the message is not a well-formed type reply.
std::optional<QByteArray> decodeTypeReply(const QByteArray& message);

// True when the message was a type request and the panel answered it.
bool ProcessTypeRequest(LinkContext& ctx, const QByteArray& message);
// The same with the pause before the information request (in ms) left to the
// caller: the fuzzer cannot afford to hold its thread 100 ms per message.
bool answerTypeRequest(LinkContext& ctx, const QByteArray& message,
                       const std::function<void(qint64)>& pause);
