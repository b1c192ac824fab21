// The crosspoint map (0xF6): for a run of destinations, which sources feed
// each one and with what value. The panel only keeps it; the encoder builds
// the switcher's side of the exchange.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

#include "LinkContext.h"

bool ProcessCrosspointMap(LinkContext& ctx, const QByteArray& message);

struct CrosspointSource {
    int source = 0;
    int value = 0;
};

// One destination's block: its header byte and the sources listed for it.
struct CrosspointBlock {
    uint8_t headerByte = 0;
    std::vector<CrosspointSource> sources;
};

// blocks[k] belongs to destination firstDestination + k.
QByteArray encodeCrosspointMap(int firstDestination, const std::vector<CrosspointBlock>& blocks);
