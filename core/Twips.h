// Every size and position of the panel's windows is designed in twips (1440
// to the inch) and drawn at 96 dots per inch, where 15 twips make one pixel.
// This is the only place that turns one into the other.
#pragma once

constexpr int TwipsPerPixel = 15;

// Rounds to the nearest pixel, halves away from zero.
constexpr int twips(int twips) {
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}
