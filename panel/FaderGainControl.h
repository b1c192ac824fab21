// What the faders do: send the operator's moves to the switcher, and redraw
// every fader from the reported gains once the operator's hand has stopped
// (tmrGain defers the redraw so reports do not fight a moving fader).
#pragma once

#include <QObject>
#include <QTimer>

class ErrorSink;
class FaderBank;
class SwitcherLinkPort;
struct PanelState;

class FaderGainControl : public QObject {
    Q_OBJECT
public:
    static constexpr int StartUpInterval = 50;  // ms: first redraw after start-up
    static constexpr int AfterMoveInterval = 100;
    static constexpr int AfterTickInterval = 10;

    // Connects to the bank's strips and starts tmrGain.
    FaderGainControl(PanelState& state, FaderBank& bank, SwitcherLinkPort& link, ErrorSink& log,
                     QObject* parent = nullptr);

    QTimer& tmrGain() { return tmrGain_; }

    void FaderMoved(int fader);
    void FaderHomeEnd(int fader, int key, Qt::KeyboardModifiers shift);
    void cmdZerodb_Click(int fader);
    // Every fader and read-out from the stored gains (not in Device ID mode).
    void UpdateGain();
    // Gains were stored: redraw now when idle, else one full interval later.
    void RequestRefresh();
    // Arms one redraw with whatever interval tmrGain has now.
    void StartGainTimer();

private:
    void tmrGain_Timer();
    void SendGain(int fader, int16_t code);

    PanelState& state_;
    FaderBank& bank_;
    SwitcherLinkPort& link_;
    ErrorSink& log_;
    QTimer tmrGain_;
};
