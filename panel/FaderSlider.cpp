// The strip's fader: range, steps, the operator's finer moves, the ceiling
// and the lock, and which moves count as the operator's.
#include "FaderSlider.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionSlider>
#include <algorithm>
#include <cmath>

#include "FaderAccessible.h"

namespace {
constexpr int EighthsPerNotch = 120;
}  // namespace

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
    connect(this, &QAbstractSlider::actionTriggered, this, &FaderSlider::actionTaken);
}

// The position may still be changed here, before it becomes the value: a move
// beyond the ceiling stops at it.
void FaderSlider::actionTaken(int action) {
    if (m_clamping) return;
    if (m_ceiling && sliderPosition() < ceilingPosition()) {
        m_clamping = true;
        setSliderPosition(ceilingPosition());
        m_clamping = false;
    }
    if (action != SliderToMinimum && action != SliderToMaximum) Q_EMIT operatorMoved(m_input);
}

void FaderSlider::setReadout(QLabel* readout) { m_readout = readout; }

QString FaderSlider::readoutText() const { return m_readout ? m_readout->text() : QString(); }

void FaderSlider::setFromScreenReader(int position) {
    if (m_locked) return;
    m_input = MoveSource::ScreenReader;
    setSliderPosition(position);
}

void FaderSlider::setCeiling(std::optional<int16_t> code) {
    m_ceiling = code;
    update();
}

int FaderSlider::ceilingPosition() const {
    return m_ceiling ? std::clamp<int>(-*m_ceiling, TopPosition, BottomPosition) : TopPosition;
}

void FaderSlider::setLocked(bool locked) {
    m_locked = locked;
    if (locked) setSliderDown(false);
}

void FaderSlider::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_L && event->modifiers() == Qt::ControlModifier) {
        Q_EMIT lockToggleRequested();
        return;
    }
    if (m_locked) {
        event->ignore();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        Q_EMIT typingRequested();
        return;
    }
    m_input = MoveSource::Keyboard;
    QSlider::keyPressEvent(event);
}

void FaderSlider::keyReleaseEvent(QKeyEvent* event) {
    QSlider::keyReleaseEvent(event);
    // A held key repeats its press and release; only the real release counts,
    // so holding Home sends one gain message, not one per repeat.
    if (!m_locked && !event->isAutoRepeat()) Q_EMIT keyReleased(event->key());
}

void FaderSlider::mousePressEvent(QMouseEvent* event) {
    if (m_locked) {
        event->ignore();
        return;
    }
    m_input = MoveSource::Mouse;
    QSlider::mousePressEvent(event);
    const int y = qRound(event->position().y());
    m_fineDrag = event->modifiers().testFlag(Qt::ShiftModifier);
    m_lastY = y;
    anchorDrag(y);
}

// Positions per pixel of handle travel: the range over the groove's free length.
double FaderSlider::positionsPerPixel() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = std::max(groove.height() - handle.height(), 1);
    return static_cast<double>(maximum() - minimum()) / span;
}

void FaderSlider::anchorDrag(int y) {
    m_anchorY = y;
    m_anchorPosition = sliderPosition();
}

// The handle follows the mouse from where the drag (or its last change of
// speed) began; with Shift at a tenth of the pace.
void FaderSlider::mouseMoveEvent(QMouseEvent* event) {
    if (m_locked || !isSliderDown()) {
        if (!m_locked) QSlider::mouseMoveEvent(event);
        return;
    }
    const bool fine = event->modifiers().testFlag(Qt::ShiftModifier);
    if (fine != m_fineDrag) {
        m_fineDrag = fine;
        anchorDrag(m_lastY);
    }
    const int y = qRound(event->position().y());
    m_lastY = y;
    const double pace = fine ? 1.0 / FineDragDivisor : 1.0;
    const int moved = static_cast<int>(std::lround((y - m_anchorY) * positionsPerPixel() * pace));
    setSliderPosition(std::clamp(m_anchorPosition + moved, minimum(), maximum()));
    event->accept();
}

void FaderSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (m_locked) {
        event->ignore();
        return;
    }
    QSlider::mouseReleaseEvent(event);
    Q_EMIT released();
}

// A notch up is a step up the scale (towards the top, the lower position).
void FaderSlider::wheelEvent(QWheelEvent* event) {
    if (m_locked) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint delta = event->angleDelta();
    m_wheelEighths += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = m_wheelEighths / EighthsPerNotch;
    if (notches == 0) return;
    m_wheelEighths -= notches * EighthsPerNotch;
    const int step = event->modifiers().testFlag(Qt::ShiftModifier) ? FineWheelStep : WheelStep;
    m_input = MoveSource::Wheel;
    setSliderPosition(std::clamp(sliderPosition() - notches * step, minimum(), maximum()));
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
    if (m_ceiling) drawCeiling(painter, option);
}

// A red mark across the scale where the handle's middle would stand at the
// ceiling.
void FaderSlider::drawCeiling(QPainter& painter, const QStyleOptionSlider& drawn) const {
    QStyleOptionSlider at = drawn;
    at.sliderPosition = minimum() + maximum() - ceilingPosition();
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &at, QStyle::SC_SliderHandle, this);
    const int y = handle.center().y();
    painter.setPen(QPen(QColor(200, 30, 30), 2));
    painter.drawLine(handle.right() + 1, y, width() - 1, y);
}
