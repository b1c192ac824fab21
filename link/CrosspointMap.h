// Decoder of the crosspoint map (0xF6): which sources feed each destination.
#pragma once

#include "LinkContext.h"

#include <QByteArray>

void ProcessCrosspointMap(LinkContext& ctx, const QByteArray& message);
