// Every road of the operator into FaderMoved: the strips (mouse, keys,
// wheel, the 0db button, Home and End, a screen reader) and the moves the
// panel makes on the operator's behalf (a snapshot recall, an undo, a redo).
// Moves are grouped into gestures: a drag from press to release, a run of
// keys or wheel turns on one fader with less than a second between them, a
// button, a Home or End, a recall. Each finished gesture is handed on, to
// become one undo step and one line of the operator's journal.
#pragma once

#include <QObject>
#include <QTimer>
#include <optional>

#include "Gesture.h"

class FaderBank;
class FaderGainControl;
class FaderStrip;
struct PanelState;

class OperatorMoves : public QObject {
    Q_OBJECT
public:
    static constexpr int RunGapMs = 1000;  // keys further apart start a new gesture

    OperatorMoves(PanelState& state, FaderBank& bank, FaderGainControl& gain,
                  QObject* parent = nullptr);

    // A gesture the panel makes on the operator's behalf; opening one ends
    // the one before it, and the operator's own gesture under way.
    void begin(MoveSource source, const QString& label = QString(),
               const QString& sender = QString());
    // Within it: places the fader and sends the code as an operator's move,
    // held to the fader's travel and to the ceiling. A locked fader is left
    // alone.
    void move(int fader, int code);
    void end();
    bool isOpen() const { return m_panelGesture.has_value(); }

    // Ends the operator's gesture under way now (a run of keys waits a second
    // otherwise), so that what comes next is a gesture of its own.
    void finishHandGesture();
    // The operator's and the remote controllers' gestures under way end now.
    void finishGestures();

    // A move from a remote controller: like a run of keys, the moves of one
    // fader from one sender with less than a second between them are one
    // gesture.
    void remoteMove(int fader, int code, const QString& sender);

    // The highest code any road may take a fader to; nothing for none.
    void setCeiling(std::optional<int16_t> ceiling) { m_ceiling = ceiling; }

Q_SIGNALS:
    void gestureFinished(const Gesture& gesture);
    // A move of the fader went the operator's road: sent or not.
    void moved(int fader, int16_t code);
    // The operator moved this fader by hand: whatever the panel was doing to
    // it on the operator's behalf stops.
    void faderTouched(int fader);

private:
    void watch(int fader, FaderStrip* strip);
    void stripMoved(int fader, int16_t code, MoveSource source);
    void stripLetGo(int fader);
    void note(Gesture& gesture, int fader, int16_t code, bool clamped = false);
    // Held to the travel and the ceiling, placed and sent within the
    // gesture; a locked fader is left alone.
    void placeAndNote(Gesture& gesture, int fader, int code);
    void finishRemoteGesture();
    void finish(std::optional<Gesture>& gesture);

    PanelState& m_state;
    FaderBank& m_bank;
    FaderGainControl& m_gain;
    std::optional<Gesture> m_handGesture;
    int m_handFader = -1;
    std::optional<Gesture> m_panelGesture;
    // Ends a run of keys or wheel turns; runs only for a second after one.
    QTimer m_runEnd;
    std::optional<Gesture> m_remoteGesture;
    int m_remoteFader = -1;
    QTimer m_remoteRunEnd;
    std::optional<int16_t> m_ceiling;
};
