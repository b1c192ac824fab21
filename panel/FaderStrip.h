// One fader strip: a frame holding the channel label, the gain read-out, the
// fader, the "0db" button and the "Stereo" box, laid out as designed in twips.
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

Q_SIGNALS:
    void FaderMoved();
    void FaderKeyReleased(int key, Qt::KeyboardModifiers modifiers);
    void ZeroClicked();

private:
    QLabel* lblChan_;
    QLabel* lblGain_;
    FaderSlider* sliGain_;
    QPushButton* cmdZerodb_;
    QCheckBox* chkStereo_;
    int leftTwips_ = 120;
};
