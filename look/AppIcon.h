// The program's 32 x 32 icon, drawn in code: three faders on a dark panel.
#pragma once

#include <QPixmap>

QPixmap drawAppIcon();
