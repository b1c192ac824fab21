// The words for the link's state: a full sentence for the tooltip and for a
// window wide enough, and a short form of at most two lines ('\n' between
// them) for a window only one fader wide.
#pragma once

#include <QString>

#include "LinkStatus.h"

QString linkStatusText(const LinkStatus& status);
QString linkStatusShortText(const LinkStatus& status);
