// Decoder of the advanced gain message (0xE0): several gain stages per message.
#pragma once

#include "LinkContext.h"

#include <QByteArray>

void ReceiveAdvancedGain(LinkContext& ctx, const QByteArray& message);
