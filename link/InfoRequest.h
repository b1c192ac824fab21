// The information request (0xF2): asks the switcher for the tables whose bits
// are set in the request code, and remembers them in LastInfoRequest.
#pragma once

#include "LinkContext.h"

#include <QByteArray>

#include <cstdint>

QByteArray EncodeInfoRequest(int32_t code);
void SendInfoRequest(LinkContext& ctx, int32_t code);
