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
    void connectComplete();
    void closedByPeer();
    // A send found the socket not connected, or the socket refused it for real.
    void sendFailed();

    // What the protocol reports: the type request was answered, and a
    // message was processed (the tables may now be complete).
    void typeRequestAnswered();
    void messageProcessed();

    LinkPhase phase() const { return m_phase; }
    const LinkStatus& status() const { return m_shown; }

private:
    void enter(LinkPhase phase, const QString& logDescription);
    void report();
    LinkStatus currentStatus() const;
    void stopTimers();
    void startAttemptTimer();
    void linkLost(const QString& logDescription);
    void attemptFailed(const QString& logDescription);
    void startRetryWait(const QString& logDescription);
    void countdownStep();
    void startRetryAttempt();
    void attemptTimedOut();
    bool isRetrying() const;
    bool tablesComplete() const;
    QString endpoint() const;

    PanelState& m_state;
    PanelView& m_view;
    ErrorSink& m_log;
    SwitcherSocket& m_socket;
    LinkClock& m_clock;
    std::unique_ptr<LinkTimer> m_attemptTimer;
    std::unique_ptr<LinkTimer> m_countdown;
    ReconnectPolicy m_policy;

    LinkPhase m_phase = LinkPhase::Down;
    LinkStatus m_shown;
    bool m_typeAnswered = false;
    // Between a loss and the switcher's next complete handshake.
    bool m_recovering = false;
    QTime m_troubleSince;
    bool m_linkWasUp = false;
    int m_secondsLeft = 0;
};
