// The controls inside a fader strip, found by name, for tests that drive them
// with real mouse and key events; the panel itself speaks to a strip only in
// values.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "FaderSlider.h"
#include "FaderStrip.h"

inline FaderSlider* sliderOf(const FaderStrip& strip) {
    return strip.findChild<FaderSlider*>(QStringLiteral("sliGain"));
}
inline QCheckBox* stereoBoxOf(const FaderStrip& strip) {
    return strip.findChild<QCheckBox*>(QStringLiteral("chkStereo"));
}
inline QPushButton* zeroButtonOf(const FaderStrip& strip) {
    return strip.findChild<QPushButton*>(QStringLiteral("cmdZerodb"));
}
inline QLabel* readoutOf(const FaderStrip& strip) {
    return strip.findChild<QLabel*>(QStringLiteral("lblGain"));
}
