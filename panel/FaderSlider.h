// The vertical fader of a strip. Its positions run from -1264 at the top to
// -24 at the bottom, so the gain code is the position negated.
//
// Beyond a plain slider it knows the operator's finer ways: a drag with
// Shift held moves at a tenth of the speed (without a jump when Shift comes
// or goes), and a wheel notch moves 0.5 dB, 0.1 dB with Shift. It keeps the
// operator below a gain ceiling, drawn on its scale, and ignores the
// operator altogether while locked; the panel itself may still set it
// anywhere, so it always shows what the switcher reports.
#pragma once

#include <QPointer>
#include <QSlider>
#include <optional>

#include "GainCode.h"
#include "Gesture.h"

class QLabel;

class FaderSlider : public QSlider {
    Q_OBJECT
public:
    // A position is the gain code negated, so that up is louder.
    static constexpr int TopPosition = -GainCode::Top;
    static constexpr int BottomPosition = -GainCode::Off;
    static constexpr int ZeroDbPosition = -GainCode::ZeroDb;
    static constexpr int WheelStep = 5;      // 0.5 dB a notch
    static constexpr int FineWheelStep = 1;  // 0.1 dB a notch with Shift
    static constexpr int FineDragDivisor = 10;

    explicit FaderSlider(QWidget* parent = nullptr);

    // The label whose text tells the fader's gain; a screen reader reads it
    // as the fader's value.
    void setReadout(QLabel* readout);
    QString readoutText() const;

    // A screen reader sets the fader as the operator would.
    void setFromScreenReader(int position);

    // The highest code the operator may move to; nothing for no ceiling.
    void setCeiling(std::optional<int16_t> code);
    std::optional<int16_t> ceiling() const { return m_ceiling; }
    void setLocked(bool locked);
    bool isLocked() const { return m_locked; }

Q_SIGNALS:
    // The source is the input that moved it: mouse, keyboard, wheel or screen
    // reader.
    void operatorMoved(MoveSource source);
    // A key came up; a held key's repeats do not count.
    void keyReleased(int key);
    // The mouse button came up: a drag or a click on the groove is over.
    void released();
    // Ctrl+L: the operator asks for the lock to change.
    void lockToggleRequested();
    // Enter: the operator wants to type a gain.
    void typingRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void actionTaken(int action);
    int ceilingPosition() const;
    double positionsPerPixel() const;
    void anchorDrag(int y);
    void drawCeiling(QPainter& painter, const class QStyleOptionSlider& drawn) const;

    QPointer<QLabel> m_readout;
    // The input being handled, for the moves it makes.
    MoveSource m_input = MoveSource::Mouse;
    std::optional<int16_t> m_ceiling;
    bool m_locked = false;
    bool m_clamping = false;
    // A drag runs from its anchor, reset whenever Shift comes or goes.
    bool m_fineDrag = false;
    int m_anchorY = 0;
    int m_anchorPosition = 0;
    int m_lastY = 0;
    int m_wheelEighths = 0;  // wheel turns not yet a whole notch
};
