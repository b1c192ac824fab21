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
bool keepsLink(LinkPhase phase) {
    return phase == LinkPhase::Waiting || phase == LinkPhase::Live ||
           phase == LinkPhase::RetryWait || phase == LinkPhase::RetryAttempt;
}

}  // namespace

LinkStateMachine::LinkStateMachine(PanelState& state, PanelView& view, ErrorSink& log,
                                   SwitcherSocket& socket, LinkClock& clock)
    : m_state(state),
      m_view(view),
      m_log(log),
      m_socket(socket),
      m_clock(clock),
      m_attemptTimer(clock.newTimer([this] { attemptTimedOut(); })),
      m_countdown(clock.newTimer([this] { countdownStep(); })) {
    m_shown = currentStatus();
}

LinkStateMachine::~LinkStateMachine() = default;

void LinkStateMachine::ConnectToSwitcher() {
    try {
        stopTimers();
        const bool retrying = isRetrying();
        if (m_socket.Connect(m_state.IPAddress, m_state.IPPort) == 0) {
            if (retrying) {
                enter(LinkPhase::RetryAttempt, QString());
            } else {
                m_typeAnswered = false;
                enter(LinkPhase::Connecting, QString());
            }
            startAttemptTimer();
            return;
        }
        // A wrong address or port: retrying would fail the same way.
        m_socket.Close();
        m_policy.reset();
        m_recovering = false;
        QString note;
        if (retrying) note = QStringLiteral("Retrying stopped: could not connect to ") + endpoint();
        enter(LinkPhase::Down, note);
        m_view.showConnectFailure();
    } catch (...) {
        m_log.LogError(ConnectFailedDescription, ConnectionError);
    }
}

void LinkStateMachine::DisconnectFromSwitcher() {
    try {
        stopTimers();
        m_policy.reset();
        const bool retrying = isRetrying();
        m_recovering = false;
        m_socket.Close();
        m_state.Connected = false;
        m_view.setConnectCaption(ConnectCaption);
        enter(LinkPhase::Down,
              retrying ? QStringLiteral("Retrying stopped by the operator") : QString());
    } catch (...) {
        m_log.LogError(QStringLiteral("Error dsiconnecting from server"), ConnectionError);
    }
}

void LinkStateMachine::connectComplete() {
    try {
        if (m_phase != LinkPhase::Connecting && m_phase != LinkPhase::RetryAttempt) return;
        m_attemptTimer->stop();
        m_typeAnswered = false;
        QString note;
        if (m_phase == LinkPhase::RetryAttempt) {
            note = QStringLiteral("Reconnected to switcher at ") + endpoint();
        }
        enter(LinkPhase::Waiting, note);
    } catch (...) {
        m_log.LogError(ConnectFailedDescription, ConnectionError);
    }
}

void LinkStateMachine::closedByPeer() {
    try {
        switch (m_phase) {
            case LinkPhase::Waiting:
            case LinkPhase::Live:
                linkLost(QStringLiteral("Link to switcher closed by the switcher, retrying"));
                break;
            case LinkPhase::Connecting:
            case LinkPhase::RetryAttempt:
                attemptFailed(QStringLiteral("Connection to switcher at ") + endpoint() +
                              QStringLiteral(" failed, retrying"));
                break;
            case LinkPhase::Down:
            case LinkPhase::RetryWait:
                m_socket.Close();
                break;
        }
    } catch (...) {
        m_log.LogError(ConnectFailedDescription, ConnectionError);
    }
}

void LinkStateMachine::sendFailed() {
    switch (m_phase) {
        case LinkPhase::Waiting:
        case LinkPhase::Live:
            try {
                linkLost(QStringLiteral("Link to switcher lost while sending, retrying"));
            } catch (...) {
                m_log.LogError(ConnectFailedDescription, ConnectionError);
            }
            break;
        case LinkPhase::Down:
            DisconnectFromSwitcher();
            break;
        default:
            break;  // an attempt is under way or due: the message is dropped
    }
}

void LinkStateMachine::typeRequestAnswered() {
    try {
        m_typeAnswered = true;
        if (m_phase == LinkPhase::Live) enter(LinkPhase::Waiting, QString());
    } catch (...) {
        m_log.LogError(ConnectFailedDescription, ConnectionError);
    }
}

void LinkStateMachine::messageProcessed() {
    try {
        if (m_phase == LinkPhase::Waiting && m_typeAnswered && tablesComplete()) {
            m_policy.reset();
            QString note;
            if (m_recovering) {
                note = QStringLiteral("Switcher live again with %1 sources and %2 destinations")
                           .arg(m_state.SourceCount)
                           .arg(m_state.DestinationCount);
            }
            m_recovering = false;
            enter(LinkPhase::Live, note);
        } else if (m_phase == LinkPhase::Live) {
            report();  // the counts may have changed
        }
    } catch (...) {
        m_log.LogError(ConnectFailedDescription, ConnectionError);
    }
}

// Connected and the caption follow the phase. The log gets one entry when the
// phase really changes and the caller names the change: only the trouble and
// the way out of it are named, so a normal session leaves the log empty.
void LinkStateMachine::enter(LinkPhase phase, const QString& logDescription) {
    const bool changed = phase != m_phase;
    m_phase = phase;
    const bool keeps = keepsLink(phase);
    if (keeps != m_state.Connected) {
        m_state.Connected = keeps;
        m_view.setConnectCaption(keeps ? DisconnectCaption : ConnectCaption);
    }
    if (changed && !logDescription.isEmpty()) m_log.LogError(logDescription, ConnectionError);
    report();
}

void LinkStateMachine::report() {
    const LinkStatus status = currentStatus();
    if (status == m_shown) return;
    m_shown = status;
    m_view.showLinkStatus(status);
}

LinkStatus LinkStateMachine::currentStatus() const {
    LinkStatus status;
    status.phase = m_phase;
    status.address = m_state.IPAddress;
    status.port = m_state.IPPort;
    if (m_phase == LinkPhase::Live) {
        status.sources = m_state.SourceCount;
        status.destinations = m_state.DestinationCount;
    }
    if (isRetrying()) {
        status.since = m_troubleSince;
        status.linkWasUp = m_linkWasUp;
    }
    if (m_phase == LinkPhase::RetryWait) status.retryInSeconds = m_secondsLeft;
    return status;
}

void LinkStateMachine::stopTimers() {
    m_attemptTimer->stop();
    m_countdown->stop();
}

void LinkStateMachine::startAttemptTimer() { m_attemptTimer->start(AttemptTimeoutMs); }

void LinkStateMachine::linkLost(const QString& logDescription) {
    stopTimers();
    m_socket.Close();
    m_troubleSince = m_clock.currentTime();
    m_linkWasUp = true;
    m_recovering = true;
    startRetryWait(logDescription);
}

// The first failure of an attempt marks when the trouble began; the failures
// of the retries that follow belong to the same trouble.
void LinkStateMachine::attemptFailed(const QString& logDescription) {
    stopTimers();
    m_socket.Close();
    if (m_phase == LinkPhase::Connecting) {
        m_troubleSince = m_clock.currentTime();
        m_linkWasUp = false;
        m_recovering = true;
        startRetryWait(logDescription);
    } else {
        startRetryWait(QString());
    }
}

void LinkStateMachine::startRetryWait(const QString& logDescription) {
    m_secondsLeft = m_policy.nextDelaySeconds();
    enter(LinkPhase::RetryWait, logDescription);
    m_countdown->start(CountdownStepMs);
}

void LinkStateMachine::countdownStep() {
    try {
        if (m_phase != LinkPhase::RetryWait) return;
        if (--m_secondsLeft > 0) {
            report();
            m_countdown->start(CountdownStepMs);
            return;
        }
        startRetryAttempt();
    } catch (...) {
        m_log.LogError(ConnectFailedDescription, ConnectionError);
    }
}

// No message box here: the operator did not ask for this attempt.
void LinkStateMachine::startRetryAttempt() {
    if (m_socket.Connect(m_state.IPAddress, m_state.IPPort) == 0) {
        enter(LinkPhase::RetryAttempt, QString());
        startAttemptTimer();
        return;
    }
    m_socket.Close();
    startRetryWait(QString());
}

void LinkStateMachine::attemptTimedOut() {
    try {
        if (m_phase != LinkPhase::Connecting && m_phase != LinkPhase::RetryAttempt) return;
        attemptFailed(QStringLiteral("No answer from switcher at ") + endpoint() +
                      QStringLiteral(", retrying"));
    } catch (...) {
        m_log.LogError(ConnectFailedDescription, ConnectionError);
    }
}

bool LinkStateMachine::isRetrying() const {
    return m_phase == LinkPhase::RetryWait || m_phase == LinkPhase::RetryAttempt;
}

bool LinkStateMachine::tablesComplete() const { return (m_state.LastInfoRequest & TableBits) == 0; }

QString LinkStateMachine::endpoint() const {
    return m_state.IPAddress + QLatin1Char(':') + QString::number(m_state.IPPort);
}
