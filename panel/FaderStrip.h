// One fader strip: a frame holding the channel label, the gain read-out, the
// fader, the "0db" button and the "Stereo" box, laid out as designed in twips.
// It also tells a screen reader which fader and channel each control belongs
// to, and shows whether the switcher has confirmed its read-out.
#pragma once

#include <QFrame>

class FaderSlider;
class QCheckBox;
class QLabel;
class QPushButton;

class FaderStrip : public QFrame {
    Q_OBJECT
public:
    explicit FaderStrip(QWidget* parent = nullptr);

    QLabel* lblChan() const { return lblChan_; }
    QLabel* lblGain() const { return lblGain_; }
    FaderSlider* sliGain() const { return sliGain_; }
    QPushButton* cmdZerodb() const { return cmdZerodb_; }
    QCheckBox* chkStereo() const { return chkStereo_; }

    // Left edge in the parent, in twips.
    int LeftTwips() const { return leftTwips_; }
    void MoveLeftTo(int leftTwips);

    // Accessible names from the channel label as it reads now: "Fader 3,
    // MIC 3" for the fader, with ", 0db" and ", Stereo" for the button and
    // the box. faderNumber counts from 1, as the operator does.
    void NameForScreenReaders(int faderNumber);

    // While the panel is not live with the switcher, the read-out shows what
    // the panel last knew, not what the switcher holds: it is dimmed (and
    // says so to a screen reader), but every control stays usable.
    void SetConfirmed(bool confirmed);
    bool IsConfirmed() const { return confirmed_; }

Q_SIGNALS:
    void FaderMoved();
    void FaderKeyReleased(int key, Qt::KeyboardModifiers modifiers);
    void ZeroClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Made in this order, which is also the keyboard's: Stereo, 0db, fader.
    QLabel* lblChan_;
    QLabel* lblGain_;
    QCheckBox* chkStereo_;
    QPushButton* cmdZerodb_;
    FaderSlider* sliGain_;
    int leftTwips_ = 120;
    bool confirmed_ = true;
};
