// The look shared by every window of the panel. Controls are placed and sized
// in twips, fixed at 96 dots per inch, so fonts are set in pixels as well:
// a point size would grow with the screen and clip the captions.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QStringList>
#include <QWidget>

#include "Twips.h"

// About 7.5 points: "Gain (-99.9db)" must fit its 73-pixel read-out.
constexpr int PanelFontPixels = 10;

// Condensed first: "Gain (-99.9db)" and "DSP Output Level" must fit their
// fixed widths. The font names the first of these the machine has, alone:
// given the whole list, the font system would work out a fallback for each
// font before the window's first word, which costs its start-up dearly.
// Looked up once per process, the fonts installed being fixed for its life
// as far as the panel is concerned.
inline QStringList panelFamilies() {
    static const QStringList chosen = [] {
        QStringList wanted{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                           QStringLiteral("Liberation Sans Narrow"),
                           QStringLiteral("Arial Narrow")};
        const QStringList installed = QFontDatabase::families();
        for (const QString& family : wanted) {
            if (installed.contains(family, Qt::CaseInsensitive)) return QStringList{family};
        }
        return wanted;
    }();
    return chosen;
}

inline QFont panelFont(int pixelSize, bool bold = false) {
    QFont font;
    font.setFamilies(panelFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

inline void placeInTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
}
