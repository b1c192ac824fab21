#include "TcpSwitcherSocket.h"

#include <QStringList>
#include <algorithm>
#include <limits>

#include "DeadPeerDetection.h"
#include "LinkLog.h"

namespace {
// Far more than any burst of gain changes; beyond it writes wait briefly for
// the network, then report would-block.
constexpr qint64 WriteBacklogLimit = qint64{1024} * 1024;
constexpr int WriteWaitMs = 50;
constexpr int32_t LowestPort = 1;
constexpr int32_t HighestPort = 65535;

bool isDecimalOctet(const QString& part) {
    if (part.isEmpty() || part.size() > 3) return false;
    for (const QChar c : part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    }
    return part.toInt() <= 255;
}
}  // namespace

TcpSwitcherSocket::TcpSwitcherSocket(QObject* parent) : SwitcherSocket(parent) {
    connect(&m_socket, &QTcpSocket::connected, this, &TcpSwitcherSocket::onConnected);
    connect(&m_socket, &QTcpSocket::disconnected, this, &TcpSwitcherSocket::onDisconnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TcpSwitcherSocket::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TcpSwitcherSocket::onError);
}

TcpSwitcherSocket::~TcpSwitcherSocket() {
    QObject::disconnect(&m_socket, nullptr, this, nullptr);
    dropConnection();
}

std::optional<QHostAddress> TcpSwitcherSocket::parseDottedIPv4(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4) return std::nullopt;
    quint32 address = 0;
    for (const QString& part : parts) {
        if (!isDecimalOctet(part)) return std::nullopt;
        address = (address << 8) | static_cast<quint32>(part.toInt());
    }
    return QHostAddress(address);
}

int TcpSwitcherSocket::Connect(const QString& address, int32_t port) {
    const std::optional<QHostAddress> host = parseDottedIPv4(address);
    if (!host) return fail(AddressNotValid);
    if (port < LowestPort || port > HighestPort) return fail(PortNotValid);
    dropConnection();
    ++m_attempt;
    m_lastError = 0;
    m_attemptPending = true;
    m_socket.connectToHost(*host, static_cast<quint16>(port));
    return 0;
}

void TcpSwitcherSocket::Close() { dropConnection(); }

void TcpSwitcherSocket::dropConnection() {
    ++m_attempt;
    m_peerCloseArmed = false;
    m_attemptPending = false;
    if (m_socket.state() != QAbstractSocket::UnconnectedState || m_socket.isOpen())
        m_socket.abort();
}

bool TcpSwitcherSocket::IsConnected() const {
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

int TcpSwitcherSocket::Write(const QByteArray& bytes) {
    m_sentCount = 0;
    if (!IsConnected()) return refuse(NotConnected);
    if (!makeRoomToWrite()) return refuse(WouldBlock);
    if (m_socket.write(bytes) != bytes.size()) return refuse(WriteFailed);
    m_socket.flush();  // out now, not when the UI thread is next idle
    qCDebug(lcLinkBytes).noquote() << "out" << bytes.toHex(' ');
    m_lastError = 0;
    m_sentCount =
        static_cast<int>(std::min<qsizetype>(bytes.size(), std::numeric_limits<int>::max()));
    return m_sentCount;
}

int TcpSwitcherSocket::refuse(int code) {
    m_lastError = code;
    return 0;
}

bool TcpSwitcherSocket::makeRoomToWrite() {
    if (m_socket.bytesToWrite() <= WriteBacklogLimit) return true;
    m_socket.waitForBytesWritten(WriteWaitMs);
    return m_socket.bytesToWrite() <= WriteBacklogLimit;
}

QByteArray TcpSwitcherSocket::Read(int maxCount) {
    const qint64 waiting = m_socket.bytesAvailable();
    if (waiting <= 0 || maxCount < 1) {
        m_lastError = WouldBlock;
        return {};
    }
    QByteArray bytes = m_socket.read(std::min<qint64>(maxCount, waiting));
    m_lastError = bytes.isEmpty() ? WouldBlock : 0;
    qCDebug(lcLinkBytes).noquote() << "in " << bytes.toHex(' ');
    return bytes;
}

int TcpSwitcherSocket::fail(int code) {
    m_lastError = code;
    return code;
}

template <typename Signal>
void TcpSwitcherSocket::postForThisAttempt(Signal signal) {
    const uint64_t attempt = m_attempt;
    QMetaObject::invokeMethod(
        this,
        [this, attempt, signal] {
            if (attempt == m_attempt) Q_EMIT(this->*signal)();
        },
        Qt::QueuedConnection);
}

void TcpSwitcherSocket::onConnected() {
    m_attemptPending = false;
    m_peerCloseArmed = true;
    // Gain changes are a few bytes each and should not wait for company.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // Refused settings leave a working link that notices a dead peer late.
    enableDeadPeerDetection(m_socket);
    postForThisAttempt(&TcpSwitcherSocket::connectComplete);
}

void TcpSwitcherSocket::onDisconnected() {
    if (!m_peerCloseArmed) return;
    m_peerCloseArmed = false;
    postForThisAttempt(&TcpSwitcherSocket::closedByPeer);
}

// A connection that failed (keepalive gave up, reset) may report only the
// error; it ends the link just as a close by the peer does. An attempt the
// switcher refused, or that found no route, ends the same way, so the panel
// need not wait out the attempt's timeout.
void TcpSwitcherSocket::onError() {
    if (m_socket.state() == QAbstractSocket::ConnectedState) return;
    if (m_attemptPending) {
        m_attemptPending = false;
        postForThisAttempt(&TcpSwitcherSocket::closedByPeer);
        return;
    }
    onDisconnected();
}

void TcpSwitcherSocket::onReadyRead() {
    const qint64 waiting = m_socket.bytesAvailable();
    Q_EMIT dataAvailable(
        static_cast<int>(std::min<qint64>(waiting, std::numeric_limits<int>::max())));
}
