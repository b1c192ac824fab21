// Decoder of the links message (0xFA): the switcher's stereo links of sources or destinations.
#pragma once

#include "LinkContext.h"

#include <QByteArray>

void ReceiveLinks(LinkContext& ctx, const QByteArray& message);
