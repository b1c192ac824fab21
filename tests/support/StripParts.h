// The controls inside a fader strip, found by name, for tests that drive them
// with real mouse and key events; the panel itself speaks to a strip only in
// values.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "FaderSlider.h"
#include "FaderStrip.h"

inline FaderSlider* SliderOf(const FaderStrip& strip) {
    return strip.findChild<FaderSlider*>(QStringLiteral("sliGain"));
}
inline QCheckBox* StereoBoxOf(const FaderStrip& strip) {
    return strip.findChild<QCheckBox*>(QStringLiteral("chkStereo"));
}
inline QPushButton* ZeroButtonOf(const FaderStrip& strip) {
    return strip.findChild<QPushButton*>(QStringLiteral("cmdZerodb"));
}
inline QLabel* ReadoutOf(const FaderStrip& strip) {
    return strip.findChild<QLabel*>(QStringLiteral("lblGain"));
}
