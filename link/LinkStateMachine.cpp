#include "LinkStateMachine.h"

#include "ErrorSink.h"
#include "PanelState.h"
#include "PanelView.h"
#include "SwitcherSocket.h"

namespace {

const QString ConnectCaption = QStringLiteral("&Connect");
const QString DisconnectCaption = QStringLiteral("&Disconnect");
const QString ConnectionError = QStringLiteral("Connection Error");
const QString ConnectFailedDescription = QStringLiteral("Error Connecting to Switcher");

constexpr int32_t TableBits = InfoBits::SourceNames | InfoBits::DestinationNames |
                              InfoBits::SourceLinks | InfoBits::DestinationLinks;

// The phases in which the menu item offers "&Disconnect".
bool KeepsLink(LinkPhase phase) {
    return phase == LinkPhase::Waiting || phase == LinkPhase::Live ||
           phase == LinkPhase::RetryWait || phase == LinkPhase::RetryAttempt;
}

}  // namespace

LinkStateMachine::LinkStateMachine(PanelState& state, PanelView& view, ErrorSink& log,
                                   SwitcherSocket& socket, LinkClock& clock)
    : state_(state),
      view_(view),
      log_(log),
      socket_(socket),
      clock_(clock),
      attemptTimer_(clock.NewTimer([this] { AttemptTimedOut(); })),
      countdown_(clock.NewTimer([this] { CountdownStep(); })) {
    shown_ = CurrentStatus();
}

LinkStateMachine::~LinkStateMachine() = default;

void LinkStateMachine::ConnectToSwitcher() {
    try {
        StopTimers();
        const bool retrying = Retrying();
        if (socket_.Connect(state_.IPAddress, state_.IPPort) == 0) {
            if (retrying) {
                Enter(LinkPhase::RetryAttempt, QString());
            } else {
                typeAnswered_ = false;
                Enter(LinkPhase::Connecting, QString());
            }
            StartAttemptTimer();
            return;
        }
        // A wrong address or port: retrying would fail the same way.
        socket_.Close();
        policy_.Reset();
        recovering_ = false;
        QString note;
        if (retrying) note = QStringLiteral("Retrying stopped: could not connect to ") + Endpoint();
        Enter(LinkPhase::Down, note);
        view_.ShowConnectFailure();
    } catch (...) {
        log_.LogError(ConnectFailedDescription, ConnectionError);
    }
}

void LinkStateMachine::DisconnectFromSwitcher() {
    try {
        StopTimers();
        policy_.Reset();
        const bool retrying = Retrying();
        recovering_ = false;
        socket_.Close();
        state_.Connected = false;
        view_.SetConnectCaption(ConnectCaption);
        Enter(LinkPhase::Down,
              retrying ? QStringLiteral("Retrying stopped by the operator") : QString());
    } catch (...) {
        log_.LogError(QStringLiteral("Error dsiconnecting from server"), ConnectionError);
    }
}

void LinkStateMachine::ConnectComplete() {
    try {
        if (phase_ != LinkPhase::Connecting && phase_ != LinkPhase::RetryAttempt) return;
        attemptTimer_->Stop();
        typeAnswered_ = false;
        QString note;
        if (phase_ == LinkPhase::RetryAttempt) {
            note = QStringLiteral("Reconnected to switcher at ") + Endpoint();
        }
        Enter(LinkPhase::Waiting, note);
    } catch (...) {
        log_.LogError(ConnectFailedDescription, ConnectionError);
    }
}

void LinkStateMachine::ClosedByPeer() {
    try {
        switch (phase_) {
            case LinkPhase::Waiting:
            case LinkPhase::Live:
                LinkLost(QStringLiteral("Link to switcher closed by the switcher, retrying"));
                break;
            case LinkPhase::Connecting:
            case LinkPhase::RetryAttempt:
                AttemptFailed(QStringLiteral("Connection to switcher at ") + Endpoint() +
                              QStringLiteral(" failed, retrying"));
                break;
            case LinkPhase::Down:
            case LinkPhase::RetryWait:
                socket_.Close();
                break;
        }
    } catch (...) {
        log_.LogError(ConnectFailedDescription, ConnectionError);
    }
}

void LinkStateMachine::SendFailed() {
    switch (phase_) {
        case LinkPhase::Waiting:
        case LinkPhase::Live:
            try {
                LinkLost(QStringLiteral("Link to switcher lost while sending, retrying"));
            } catch (...) {
                log_.LogError(ConnectFailedDescription, ConnectionError);
            }
            break;
        case LinkPhase::Down:
            DisconnectFromSwitcher();
            break;
        default:
            break;  // an attempt is under way or due: the message is dropped
    }
}

void LinkStateMachine::TypeRequestAnswered() {
    try {
        typeAnswered_ = true;
        if (phase_ == LinkPhase::Live) Enter(LinkPhase::Waiting, QString());
    } catch (...) {
        log_.LogError(ConnectFailedDescription, ConnectionError);
    }
}

void LinkStateMachine::MessageProcessed() {
    try {
        if (phase_ == LinkPhase::Waiting && typeAnswered_ && TablesComplete()) {
            policy_.Reset();
            QString note;
            if (recovering_) {
                note = QStringLiteral("Switcher live again with %1 sources and %2 destinations")
                           .arg(state_.SourceCount)
                           .arg(state_.DestinationCount);
            }
            recovering_ = false;
            Enter(LinkPhase::Live, note);
        } else if (phase_ == LinkPhase::Live) {
            Report();  // the counts may have changed
        }
    } catch (...) {
        log_.LogError(ConnectFailedDescription, ConnectionError);
    }
}

// Connected and the caption follow the phase. The log gets one entry when the
// phase really changes and the caller names the change: only the trouble and
// the way out of it are named, so a normal session leaves the log empty.
void LinkStateMachine::Enter(LinkPhase phase, const QString& logDescription) {
    const bool changed = phase != phase_;
    phase_ = phase;
    const bool keeps = KeepsLink(phase);
    if (keeps != state_.Connected) {
        state_.Connected = keeps;
        view_.SetConnectCaption(keeps ? DisconnectCaption : ConnectCaption);
    }
    if (changed && !logDescription.isEmpty()) log_.LogError(logDescription, ConnectionError);
    Report();
}

void LinkStateMachine::Report() {
    const LinkStatus status = CurrentStatus();
    if (status == shown_) return;
    shown_ = status;
    view_.ShowLinkStatus(status);
}

LinkStatus LinkStateMachine::CurrentStatus() const {
    LinkStatus status;
    status.phase = phase_;
    status.address = state_.IPAddress;
    status.port = state_.IPPort;
    if (phase_ == LinkPhase::Live) {
        status.sources = state_.SourceCount;
        status.destinations = state_.DestinationCount;
    }
    if (Retrying()) {
        status.since = troubleSince_;
        status.linkWasUp = linkWasUp_;
    }
    if (phase_ == LinkPhase::RetryWait) status.retryInSeconds = secondsLeft_;
    return status;
}

void LinkStateMachine::StopTimers() {
    attemptTimer_->Stop();
    countdown_->Stop();
}

void LinkStateMachine::StartAttemptTimer() { attemptTimer_->Start(AttemptTimeoutMs); }

void LinkStateMachine::LinkLost(const QString& logDescription) {
    StopTimers();
    socket_.Close();
    troubleSince_ = clock_.CurrentTime();
    linkWasUp_ = true;
    recovering_ = true;
    StartRetryWait(logDescription);
}

// The first failure of an attempt marks when the trouble began; the failures
// of the retries that follow belong to the same trouble.
void LinkStateMachine::AttemptFailed(const QString& logDescription) {
    StopTimers();
    socket_.Close();
    if (phase_ == LinkPhase::Connecting) {
        troubleSince_ = clock_.CurrentTime();
        linkWasUp_ = false;
        recovering_ = true;
        StartRetryWait(logDescription);
    } else {
        StartRetryWait(QString());
    }
}

void LinkStateMachine::StartRetryWait(const QString& logDescription) {
    secondsLeft_ = policy_.NextDelaySeconds();
    Enter(LinkPhase::RetryWait, logDescription);
    countdown_->Start(CountdownStepMs);
}

void LinkStateMachine::CountdownStep() {
    try {
        if (phase_ != LinkPhase::RetryWait) return;
        if (--secondsLeft_ > 0) {
            Report();
            countdown_->Start(CountdownStepMs);
            return;
        }
        StartRetryAttempt();
    } catch (...) {
        log_.LogError(ConnectFailedDescription, ConnectionError);
    }
}

// No message box here: the operator did not ask for this attempt.
void LinkStateMachine::StartRetryAttempt() {
    if (socket_.Connect(state_.IPAddress, state_.IPPort) == 0) {
        Enter(LinkPhase::RetryAttempt, QString());
        StartAttemptTimer();
        return;
    }
    socket_.Close();
    StartRetryWait(QString());
}

void LinkStateMachine::AttemptTimedOut() {
    try {
        if (phase_ != LinkPhase::Connecting && phase_ != LinkPhase::RetryAttempt) return;
        AttemptFailed(QStringLiteral("No answer from switcher at ") + Endpoint() +
                      QStringLiteral(", retrying"));
    } catch (...) {
        log_.LogError(ConnectFailedDescription, ConnectionError);
    }
}

bool LinkStateMachine::Retrying() const {
    return phase_ == LinkPhase::RetryWait || phase_ == LinkPhase::RetryAttempt;
}

bool LinkStateMachine::TablesComplete() const { return (state_.LastInfoRequest & TableBits) == 0; }

QString LinkStateMachine::Endpoint() const {
    return state_.IPAddress + QLatin1Char(':') + QString::number(state_.IPPort);
}
