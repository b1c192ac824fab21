// The strip's fader: range, steps and which moves count as the operator's.
#include "FaderSlider.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionSlider>

#include "FaderAccessible.h"

FaderSlider::FaderSlider(QWidget* parent) : QSlider(Qt::Vertical, parent) {
    installFaderAccessibility();
    setRange(TopPosition, BottomPosition);
    // The minimum belongs at the top, and Up / Page Up / wheel-up must move
    // the knob up on the screen, i.e. towards the minimum.
    setInvertedAppearance(true);
    setInvertedControls(true);
    setSingleStep(1);
    setPageStep(5);
    setTickInterval(50);  // 5 dB
    setTickPosition(QSlider::TicksRight);
    setValue(BottomPosition);
    // actionTriggered comes only from the operator's input, never from
    // setValue; Home and End are reported on key release instead.
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action != SliderToMinimum && action != SliderToMaximum) Q_EMIT operatorMoved(m_input);
    });
}

void FaderSlider::setFromScreenReader(int position) {
    m_input = MoveSource::ScreenReader;
    setSliderPosition(position);
}

void FaderSlider::keyPressEvent(QKeyEvent* event) {
    m_input = MoveSource::Keyboard;
    QSlider::keyPressEvent(event);
}

void FaderSlider::mousePressEvent(QMouseEvent* event) {
    m_input = MoveSource::Mouse;
    QSlider::mousePressEvent(event);
}

void FaderSlider::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    Q_EMIT released();
}

void FaderSlider::wheelEvent(QWheelEvent* event) {
    m_input = MoveSource::Wheel;
    QSlider::wheelEvent(event);
}

void FaderSlider::setReadout(QLabel* readout) { m_readout = readout; }

QString FaderSlider::readoutText() const { return m_readout ? m_readout->text() : QString(); }

void FaderSlider::keyReleaseEvent(QKeyEvent* event) {
    QSlider::keyReleaseEvent(event);
    // A held key repeats its press and release; only the real release counts,
    // so holding Home sends one gain message, not one per repeat.
    if (!event->isAutoRepeat()) Q_EMIT keyReleased(event->key());
}

// Styles fill the groove from the minimum to the knob, which with the
// minimum at the top would show a full bar for "Off". Drawing the mirrored
// value on a flipped groove puts the knob at the same place and fills from
// the bottom up, like a level. Mouse hits still use the real geometry.
void FaderSlider::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    if (tickPosition() != NoTicks) option.subControls |= QStyle::SC_SliderTickmarks;
    option.upsideDown = !option.upsideDown;
    option.sliderPosition = minimum() + maximum() - option.sliderPosition;
    option.sliderValue = minimum() + maximum() - option.sliderValue;
    QPainter painter(this);
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}
