// Decoder of the alpha table (0xFC): the switcher's source or destination names.
#pragma once

#include "LinkContext.h"

#include <QByteArray>

void ProcessAlphaLabels(LinkContext& ctx, const QByteArray& message);
