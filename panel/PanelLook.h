// The look shared by every window of the panel. Controls are placed and sized
// in twips, fixed at 96 dots per inch, so fonts are set in pixels as well:
// a point size would grow with the screen and clip the captions.
#pragma once

#include <QFont>
#include <QWidget>

#include "Twips.h"

// About 7.5 points: "Gain (-99.9db)" must fit its 73-pixel read-out.
constexpr int PanelFontPixels = 10;

inline QFont PanelFont(int pixelSize, bool bold = false) {
    QFont font;
    // Condensed first: "Gain (-99.9db)" and "DSP Output Level" must fit their
    // fixed widths.
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

inline void PlaceInTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Twips(left), Twips(top), Twips(width), Twips(height));
}
