#include "RemoteServer.h"

#include "ErrorSink.h"
#include "GainCode.h"
#include "OscDecoder.h"
#include "OscEncoder.h"
#include "RemoteTarget.h"

namespace {

const QString Location = QStringLiteral("Remote Control");
constexpr qint64 LargestDatagram = qint64{64} * 1024;
constexpr int ReceiveBufferBytes = 1024 * 1024;

QString senderText(const QHostAddress& from, quint16 port) {
    return from.toString() + QLatin1Char(':') + QString::number(port);
}

}  // namespace

RemoteServer::RemoteServer(RemoteTarget& target, ErrorSink& log, QObject* parent)
    : QObject(parent), m_target(target), m_log(log) {
    m_clock.start();
    m_feedback.setInterval(FeedbackEveryMs);
    connect(&m_feedback, &QTimer::timeout, this, &RemoteServer::sendFeedback);
    connect(&m_socket, &QUdpSocket::readyRead, this, &RemoteServer::readDatagrams);
}

void RemoteServer::apply(const RemoteSettings& settings) {
    if (settings == m_settings && (isListening() || !settings.enabled)) return;
    m_settings = settings;
    m_socket.close();
    m_subscribers.clear();
    m_feedback.stop();
    if (!settings.enabled) return;
    const QHostAddress address(settings.address);
    m_loopbackOnly = address.isLoopback();
    if (address.isNull() || !m_socket.bind(address, static_cast<quint16>(settings.port))) {
        m_log.LogError(QStringLiteral("Cannot listen for OSC on %1:%2")
                           .arg(settings.address)
                           .arg(settings.port),
                       Location);
        return;
    }
    // Room for a burst from a busy controller while the UI thread is at work.
    m_socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, ReceiveBufferBytes);
}

void RemoteServer::readDatagrams() {
    while (m_socket.hasPendingDatagrams()) {
        QHostAddress from;
        quint16 port = 0;
        QByteArray datagram(
            static_cast<qsizetype>(std::min(m_socket.pendingDatagramSize(), LargestDatagram)),
            '\0');
        const qint64 read = m_socket.readDatagram(datagram.data(), datagram.size(), &from, &port);
        if (read < 0) break;
        datagram.truncate(read);
        handleDatagram(datagram, from, port);
    }
}

// Beyond the loopback address, a sender not on the allow-list is told
// nothing and logged once.
bool RemoteServer::obeys(const QHostAddress& from) {
    if (m_loopbackOnly) return true;
    for (const QString& allowed : m_settings.allowed) {
        if (QHostAddress(allowed.trimmed()).isEqual(from, QHostAddress::TolerantConversion))
            return true;
    }
    if (m_refusedSenders.insert(from.toString()).second) {
        m_log.LogError(
            QStringLiteral("Ignored OSC from %1, not on the allow-list").arg(from.toString()),
            Location);
    }
    return false;
}

void RemoteServer::handleDatagram(const QByteArray& datagram, const QHostAddress& from,
                                  quint16 port) {
    if (!obeys(from)) return;
    for (const RemoteDecoded& decoded : decodeOscDatagram(datagram, m_target.faderCount())) {
        if (const auto* command = std::get_if<RemoteCommand>(&decoded)) {
            carryOut(*command, from, port);
        } else {
            const auto& report = std::get<RemoteFaultReport>(decoded);
            logFault(from, static_cast<int>(report.fault), faultDescription(report));
        }
    }
}

void RemoteServer::carryOut(const RemoteCommand& command, const QHostAddress& from, quint16 port) {
    using Kind = RemoteCommand::Kind;
    const QString sender = senderText(from, port);
    switch (command.kind) {
        case Kind::SnapshotRecall: {
            const QString refusal =
                m_target.recallSnapshot(command.name, command.fadeSeconds, sender);
            if (!refusal.isEmpty()) {
                logFault(from, static_cast<int>(RemoteFault::WrongArguments), refusal);
            }
            return;
        }
        case Kind::Subscribe:
            subscribe({from.toString(), static_cast<quint16>(command.port.value_or(port))});
            return;
        case Kind::Unsubscribe:
            m_subscribers.erase({from.toString(), port});
            if (m_subscribers.empty()) m_feedback.stop();
            return;
        case Kind::FaderZero:
            if (command.value == 0) return;  // the button coming up
            m_pending[command.fader] = {GainCode::ZeroDb, 0, sender};
            break;
        case Kind::FaderDb:
            m_pending[command.fader] = {GainCode::codeOf(command.value), 0, sender};
            break;
        case Kind::FaderCode:
            m_pending[command.fader] = {static_cast<int>(command.value), 0, sender};
            break;
        case Kind::FaderNudge: {
            PendingMove& pending = m_pending[command.fader];
            pending.nudgeDb += command.value;
            pending.sender = sender;
            break;
        }
    }
    queueFlush();
}

// Every subscribe, a renewal too, gets the whole picture. A few controllers
// at a time: more would have the panel spend its time on feedback.
void RemoteServer::subscribe(const Peer& peer) {
    if (m_subscribers.size() >= MostSubscribers && m_subscribers.count(peer) == 0) {
        m_log.LogError(QStringLiteral("Too many OSC subscribers, %1:%2 refused")
                           .arg(peer.first)
                           .arg(peer.second),
                       Location);
        return;
    }
    Subscriber& subscriber = m_subscribers[peer];
    subscriber.since.start();
    subscriber.lastsMs = m_subscriptionMs;
    subscriber.sent.reset();
    if (!m_feedback.isActive()) m_feedback.start();
    sendFeedback();
}

void RemoteServer::queueFlush() {
    if (m_flushQueued) return;
    m_flushQueued = true;
    QMetaObject::invokeMethod(this, &RemoteServer::flushMoves, Qt::QueuedConnection);
}

void RemoteServer::flushMoves() {
    m_flushQueued = false;
    std::map<int, PendingMove> moves;
    moves.swap(m_pending);
    for (const auto& [fader, move] : moves) {
        if (fader < 0 || fader >= m_target.faderCount()) continue;
        const int base = move.code.value_or(m_target.faderCode(fader));
        m_target.moveFader(fader, base + GainCode::stepsOf(move.nudgeDb), move.sender);
    }
    if (!m_subscribers.empty()) sendFeedback();
}

// What each subscriber has not yet been told; a lapsed subscription goes.
void RemoteServer::sendFeedback() {
    for (auto it = m_subscribers.begin(); it != m_subscribers.end();) {
        if (it->second.since.hasExpired(it->second.lastsMs)) {
            it = m_subscribers.erase(it);
        } else {
            ++it;
        }
    }
    if (m_subscribers.empty()) {
        m_feedback.stop();
        return;
    }
    const RemotePicture now = m_target.picture();
    for (auto& [peer, subscriber] : m_subscribers) {
        const RemotePicture* before = subscriber.sent ? &*subscriber.sent : nullptr;
        for (const QByteArray& message : feedbackMessages(now, before)) send(message, peer);
        subscriber.sent = now;
    }
}

// Feedback leaves by the socket the panel listens on, so that it comes from
// the port the controller sends to; without it, nothing leaves at all.
void RemoteServer::send(const QByteArray& message, const Peer& to) {
    if (isListening()) m_socket.writeDatagram(message, QHostAddress(to.first), to.second);
}

void RemoteServer::logFault(const QHostAddress& from, int kind, const QString& description) {
    const qint64 now = m_clock.elapsed();
    auto [last, first] = m_lastLogged.try_emplace({from.toString(), kind}, now);
    if (!first && now - last->second < LogEveryMs) return;
    last->second = now;
    m_log.LogError(description + QStringLiteral(" from ") + from.toString(), Location);
}

QString faultDescription(const RemoteFaultReport& report) {
    switch (report.fault) {
        case RemoteFault::NotOsc:
            return QStringLiteral("Not an OSC packet");
        case RemoteFault::Truncated:
            return QStringLiteral("Damaged OSC packet");
        case RemoteFault::UnknownAddress:
            return QStringLiteral("Unknown OSC address %1").arg(report.address.left(64));
        case RemoteFault::WrongArguments:
            return QStringLiteral("Wrong OSC arguments for %1").arg(report.address.left(64));
        case RemoteFault::FaderOutOfRange:
            return QStringLiteral("No such fader in %1").arg(report.address.left(64));
    }
    return QString();
}
