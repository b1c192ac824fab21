// Drags a slider's handle with the mouse, as an operator does: press on the
// handle, move to a height, release. For tests that link Qt Widgets.
#pragma once

#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

inline void dragTo(QSlider& slider, int y) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.upsideDown = !slider.invertedAppearance();
    const QPoint handle =
        slider.style()
            ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider)
            .center();
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, handle);
    QTest::mouseMove(&slider, QPoint(handle.x(), y));
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(handle.x(), y));
}
