// The links message (0xFA): the stereo-link value of a run of sources or
// destinations. The decoder fills the panel's link tables and relabels the
// faders; the encoder builds the switcher's side of the exchange.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

#include "LinkContext.h"

bool ReceiveLinks(LinkContext& ctx, const QByteArray& message);

// values: one link value (0 to 3) per channel from first on.
QByteArray encodeLinks(uint8_t kind, int first, const std::vector<int16_t>& values);
