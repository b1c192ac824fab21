// What the faders do: send the operator's moves to the switcher, and redraw
// every fader from the reported gains once the operator's hand has stopped
// (tmrGain defers the redraw so reports do not fight a moving fader).
#pragma once

#include <QObject>
#include <QTimer>

class ErrorSink;
class FaderBank;
class FaderStrip;
class SwitcherLinkPort;
struct PanelState;

class FaderGainControl : public QObject {
    Q_OBJECT
public:
    static constexpr int StartUpInterval = 50;  // ms: first redraw after start-up
    static constexpr int AfterMoveInterval = 100;
    static constexpr int AfterTickInterval = 10;

    // Starts tmrGain.
    FaderGainControl(PanelState& state, FaderBank& bank, SwitcherLinkPort& link, ErrorSink& log,
                     QObject* parent = nullptr);

    QTimer& tmrGain() { return m_tmrGain; }

    // The operator moved fader i to code: show it, send it, hold off redraws.
    void FaderMoved(int fader, int16_t code);
    // Every fader and read-out from the stored gains (not in Device ID mode).
    void UpdateGain();
    // Gains were stored: redraw now when idle, else one full interval later.
    void requestRefresh();
    // Arms one redraw with whatever interval tmrGain has now.
    void startGainTimer();

private:
    void tmrGain_Timer();
    void sendGain(int fader, int16_t code);

    PanelState& m_state;
    FaderBank& m_bank;
    SwitcherLinkPort& m_link;
    ErrorSink& m_log;
    QTimer m_tmrGain;
};
