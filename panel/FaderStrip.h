// One fader strip: a frame holding the channel label, the gain read-out, the
// fader, the "0db" button and the "Stereo" box, laid out as designed in twips.
// The rest of the panel speaks to it in values (a gain code, the Stereo
// setting, the captions) and hears from it one thing: the code the operator
// moved the fader to. It also tells a screen reader which fader and channel
// each control belongs to, and shows whether the switcher has confirmed its
// read-out.
#pragma once

#include <QFrame>
#include <cstdint>
#include <optional>

#include "Gesture.h"

class FaderSlider;
class GainEditor;
class QCheckBox;
class QLabel;
class QPushButton;

class FaderStrip : public QFrame {
    Q_OBJECT
public:
    explicit FaderStrip(QWidget* parent = nullptr);

    // The gain code the fader stands at: 1264 at the top, 24 at the bottom.
    int16_t code() const;
    // Moves the fader to a code and shows its read-out. A code beyond the
    // travel (0 for a channel never reported) leaves the fader at that end;
    // the read-out still tells the code.
    void showGain(int16_t code);
    // The read-out alone: "Gain (-2.4db)".
    void showReadout(int16_t code);
    // The fader alone, where the panel moves it on the operator's behalf (a
    // recall, an undo); the read-out follows once the move is sent.
    void placeFader(int16_t code);
    QString readoutText() const;

    QString channelName() const;
    void setChannelName(const QString& name);

    bool isStereo() const;
    void setStereo(bool stereo);
    // Whether the Stereo box is shown: only on a linked channel.
    bool stereoOffered() const;
    // The Stereo box is offered only on a linked channel. A box that comes
    // back into view takes the operator's saved setting: it was cleared only
    // because its channel's link was not known yet.
    void offerStereo(bool linked, bool savedStereo);

    // A new strip shows the captions of the first until it is labelled and
    // redrawn.
    void copyCaptionsFrom(const FaderStrip& other);

    // Left edge in the parent, in twips.
    int leftTwips() const { return m_leftTwips; }
    void moveLeftTo(int leftTwips);

    // Accessible names from the channel label as it reads now: "Fader 3,
    // MIC 3" for the fader, with ", 0db" and ", Stereo" for the button and
    // the box. faderNumber counts from 1, as the operator does.
    void nameForScreenReaders(int faderNumber);

    // A locked fader ignores every move of the operator, and still shows what
    // the switcher reports; a padlock on the strip says so.
    void setLocked(bool locked);
    bool isLocked() const;
    // The highest code the operator may move the fader to, drawn on its scale.
    void setCeiling(std::optional<int16_t> code);

    // Opens the read-out's editor for typing a gain (not while locked).
    void typeGain();

    // While the panel is not live with the switcher, the read-out shows what
    // the panel last knew, not what the switcher holds: it is dimmed (and
    // says so to a screen reader), but every control stays usable.
    void setConfirmed(bool confirmed);
    bool isConfirmed() const { return m_confirmed; }

Q_SIGNALS:
    // The operator moved the fader, to this code: a drag, a click on the
    // groove, the arrow and page keys, the wheel, a screen reader, Home or
    // End once released, or the "0db" button. Never for showGain or
    // placeFader.
    void gainMoved(int16_t code, MoveSource source);
    // The operator let go of the fader: a drag or a click is over.
    void letGo();
    // The operator typed a gain for the fader (not yet held to its travel).
    void gainTyped(int code);
    // The operator locked or unlocked the fader.
    void lockChanged(bool locked);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void toggleLock();
    void drawPadlock(QPainter& painter) const;

    void FaderHomeEnd(int key);
    void cmdZerodb_Click();

    // Made in this order, which is also the keyboard's: Stereo, 0db, fader.
    QLabel* m_lblChan;
    QLabel* m_lblGain;
    QCheckBox* m_chkStereo;
    QPushButton* m_cmdZerodb;
    FaderSlider* m_sliGain;
    GainEditor* m_txtGain;
    int m_leftTwips = 120;
    int m_faderNumber = 0;  // as the operator counts, once named
    bool m_confirmed = true;
};
