// The vertical fader of a strip. Its positions run from -1264 at the top to
// -24 at the bottom, so the gain code is the position negated.
#pragma once

#include <QPointer>
#include <QSlider>

#include "Gesture.h"

class QLabel;

class FaderSlider : public QSlider {
    Q_OBJECT
public:
    static constexpr int TopPosition = -1264;   // code 1264, +24 dB
    static constexpr int BottomPosition = -24;  // code 24, "Off"
    static constexpr int ZeroDbPosition = -1024;

    explicit FaderSlider(QWidget* parent = nullptr);

    // The label whose text tells the fader's gain; a screen reader reads it
    // as the fader's value.
    void setReadout(QLabel* readout);
    QString readoutText() const;

    // A screen reader sets the fader as the operator would.
    void setFromScreenReader(int position);

Q_SIGNALS:
    // The operator moved the fader: drag, click on the groove, arrow and page
    // keys, wheel, a screen reader setting its value. Not raised for Home/End
    // (see keyReleased) nor for positions the panel sets itself.
    // The source is the input that moved it: mouse, keyboard, wheel or screen
    // reader.
    void operatorMoved(MoveSource source);
    // A key came up; a held key's repeats do not count.
    void keyReleased(int key);
    // The mouse button came up: a drag or a click on the groove is over.
    void released();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QLabel> m_readout;
    // The input being handled, for the moves it makes.
    MoveSource m_input = MoveSource::Mouse;
};
