// The life of the link: down, connecting, waiting for the switcher's
// handshake, live, and automatic retries after a loss until the operator
// disconnects. It opens and closes the socket, keeps Connected and the
// connect menu caption, and tells the window what to show. The log gets each
// change of the link's health once: the loss (with its cause), the operator
// stopping the retries, the reconnection and the switcher live again. A run
// of failed retries counts as one state, and a normal session logs nothing.
//
// Connected (and so the menu item) reads true while the link is up and while
// the panel is retrying by itself: the item then says "&Disconnect" and stops
// the retries. An attempt the operator or start-up made shows "&Connect" until
// it completes, and the item tries again at once.
#pragma once

#include <QString>
#include <QTime>
#include <memory>

#include "LinkClock.h"
#include "LinkStatus.h"
#include "ReconnectPolicy.h"

class ErrorSink;
class PanelView;
class SwitcherSocket;
struct PanelState;

class LinkStateMachine {
public:
    // An attempt that has not completed by then is given up and retried.
    static constexpr int AttemptTimeoutMs = 5000;
    static constexpr int CountdownStepMs = 1000;

    LinkStateMachine(PanelState& state, PanelView& view, ErrorSink& log, SwitcherSocket& socket,
                     LinkClock& clock);
    ~LinkStateMachine();

    // The operator's commands (start-up and the setup dialog use them too).
    void ConnectToSwitcher();
    void DisconnectFromSwitcher();

    // What the socket reports.
    void ConnectComplete();
    void ClosedByPeer();
    // A send found the socket not connected, or the socket refused it for real.
    void SendFailed();

    // What the protocol reports: the type request was answered, and a
    // message was processed (the tables may now be complete).
    void TypeRequestAnswered();
    void MessageProcessed();

    LinkPhase Phase() const { return phase_; }
    const LinkStatus& Status() const { return shown_; }

private:
    void Enter(LinkPhase phase, const QString& logDescription);
    void Report();
    LinkStatus CurrentStatus() const;
    void StopTimers();
    void StartAttemptTimer();
    void LinkLost(const QString& logDescription);
    void AttemptFailed(const QString& logDescription);
    void StartRetryWait(const QString& logDescription);
    void CountdownStep();
    void StartRetryAttempt();
    void AttemptTimedOut();
    bool Retrying() const;
    bool TablesComplete() const;
    QString Endpoint() const;

    PanelState& state_;
    PanelView& view_;
    ErrorSink& log_;
    SwitcherSocket& socket_;
    LinkClock& clock_;
    std::unique_ptr<LinkTimer> attemptTimer_;
    std::unique_ptr<LinkTimer> countdown_;
    ReconnectPolicy policy_;

    LinkPhase phase_ = LinkPhase::Down;
    LinkStatus shown_;
    bool typeAnswered_ = false;
    // Between a loss and the switcher's next complete handshake.
    bool recovering_ = false;
    QTime troubleSince_;
    bool linkWasUp_ = false;
    int secondsLeft_ = 0;
};
