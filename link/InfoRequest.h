// The information request (0xF2): asks the switcher for the tables whose bits
// are set in the request code, and remembers them in LastInfoRequest.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

#include "LinkContext.h"

QByteArray encodeInfoRequest(int32_t code);
// The request code of a whole received information request, or nothing when
// the message is not one. The groups carry no sign: a negative code arrives
// as its lowest groups (-1 reads back as 127).
std::optional<int32_t> decodeInfoRequest(const QByteArray& message);
void SendInfoRequest(LinkContext& ctx, int32_t code);
