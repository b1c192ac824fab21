// What a screen reader learns about a fader: its name (fader and channel, set
// by the strip), its value as the gain read-out shows it ("Gain (-2.4db)"),
// and the gain in dB as a number it may also set.
#pragma once

// Makes every FaderSlider answer with that interface; safe to call often.
void installFaderAccessibility();
