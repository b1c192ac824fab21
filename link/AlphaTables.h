// The alpha table (0xFC): the switcher's source or destination names, one
// fixed-width label and sort value per channel. The decoder fills the panel's
// name tables; the encoder builds the switcher's side of the exchange.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

#include "LinkContext.h"

bool ProcessAlphaLabels(LinkContext& ctx, const QByteArray& message);

struct AlphaLabel {
    QByteArray text;  // 7-bit characters; padded with blanks or cut to the width
    int sortValue = 0;
};

// Every label of the table goes on the wire; a receiver decodes from first on.
QByteArray encodeAlphaTable(uint8_t kind, uint8_t width, int first,
                            const std::vector<AlphaLabel>& labels);
