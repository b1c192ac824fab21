#include "TcpSwitcherSocket.h"

#include <QStringList>
#include <algorithm>
#include <limits>

#include "DeadPeerDetection.h"
#include "LinkLog.h"

namespace {
// Far more than any burst of gain changes; beyond it writes wait briefly for
// the network, then report would-block.
constexpr qint64 WriteBacklogLimit = 1024 * 1024;
constexpr int WriteWaitMs = 50;
constexpr int32_t LowestPort = 1;
constexpr int32_t HighestPort = 65535;

bool IsDecimalOctet(const QString& part) {
    if (part.isEmpty() || part.size() > 3) return false;
    for (const QChar c : part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    }
    return part.toInt() <= 255;
}
}  // namespace

TcpSwitcherSocket::TcpSwitcherSocket(QObject* parent) : SwitcherSocket(parent) {
    connect(&socket_, &QTcpSocket::connected, this, &TcpSwitcherSocket::OnConnected);
    connect(&socket_, &QTcpSocket::disconnected, this, &TcpSwitcherSocket::OnDisconnected);
    connect(&socket_, &QTcpSocket::readyRead, this, &TcpSwitcherSocket::OnReadyRead);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &TcpSwitcherSocket::OnError);
}

TcpSwitcherSocket::~TcpSwitcherSocket() {
    QObject::disconnect(&socket_, nullptr, this, nullptr);
    DropConnection();
}

std::optional<QHostAddress> TcpSwitcherSocket::ParseDottedIPv4(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4) return std::nullopt;
    quint32 address = 0;
    for (const QString& part : parts) {
        if (!IsDecimalOctet(part)) return std::nullopt;
        address = (address << 8) | static_cast<quint32>(part.toInt());
    }
    return QHostAddress(address);
}

int TcpSwitcherSocket::Connect(const QString& address, int32_t port) {
    const std::optional<QHostAddress> host = ParseDottedIPv4(address);
    if (!host) return Fail(AddressNotValid);
    if (port < LowestPort || port > HighestPort) return Fail(PortNotValid);
    DropConnection();
    ++attempt_;
    lastError_ = 0;
    attemptPending_ = true;
    socket_.connectToHost(*host, static_cast<quint16>(port));
    return 0;
}

void TcpSwitcherSocket::Close() { DropConnection(); }

void TcpSwitcherSocket::DropConnection() {
    ++attempt_;
    peerCloseArmed_ = false;
    attemptPending_ = false;
    if (socket_.state() != QAbstractSocket::UnconnectedState || socket_.isOpen()) socket_.abort();
}

bool TcpSwitcherSocket::IsConnected() const {
    return socket_.state() == QAbstractSocket::ConnectedState;
}

int TcpSwitcherSocket::Write(const QByteArray& bytes) {
    sentCount_ = 0;
    if (!IsConnected()) return Refuse(NotConnected);
    if (!MakeRoomToWrite()) return Refuse(WouldBlock);
    if (socket_.write(bytes) != bytes.size()) return Refuse(WriteFailed);
    socket_.flush();  // out now, not when the UI thread is next idle
    qCDebug(lcLinkBytes).noquote() << "out" << bytes.toHex(' ');
    lastError_ = 0;
    sentCount_ =
        static_cast<int>(std::min<qsizetype>(bytes.size(), std::numeric_limits<int>::max()));
    return sentCount_;
}

int TcpSwitcherSocket::Refuse(int code) {
    lastError_ = code;
    return 0;
}

bool TcpSwitcherSocket::MakeRoomToWrite() {
    if (socket_.bytesToWrite() <= WriteBacklogLimit) return true;
    socket_.waitForBytesWritten(WriteWaitMs);
    return socket_.bytesToWrite() <= WriteBacklogLimit;
}

QByteArray TcpSwitcherSocket::Read(int maxCount) {
    const qint64 waiting = socket_.bytesAvailable();
    if (waiting <= 0 || maxCount < 1) {
        lastError_ = WouldBlock;
        return {};
    }
    QByteArray bytes = socket_.read(std::min<qint64>(maxCount, waiting));
    lastError_ = bytes.isEmpty() ? WouldBlock : 0;
    qCDebug(lcLinkBytes).noquote() << "in " << bytes.toHex(' ');
    return bytes;
}

int TcpSwitcherSocket::Fail(int code) {
    lastError_ = code;
    return code;
}

template <typename Signal>
void TcpSwitcherSocket::PostForThisAttempt(Signal signal) {
    const uint64_t attempt = attempt_;
    QMetaObject::invokeMethod(
        this,
        [this, attempt, signal] {
            if (attempt == attempt_) Q_EMIT(this->*signal)();
        },
        Qt::QueuedConnection);
}

void TcpSwitcherSocket::OnConnected() {
    attemptPending_ = false;
    peerCloseArmed_ = true;
    // Gain changes are a few bytes each and should not wait for company.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // Refused settings leave a working link that notices a dead peer late.
    EnableDeadPeerDetection(socket_);
    PostForThisAttempt(&TcpSwitcherSocket::ConnectComplete);
}

void TcpSwitcherSocket::OnDisconnected() {
    if (!peerCloseArmed_) return;
    peerCloseArmed_ = false;
    PostForThisAttempt(&TcpSwitcherSocket::ClosedByPeer);
}

// A connection that failed (keepalive gave up, reset) may report only the
// error; it ends the link just as a close by the peer does. An attempt the
// switcher refused, or that found no route, ends the same way, so the panel
// need not wait out the attempt's timeout.
void TcpSwitcherSocket::OnError() {
    if (socket_.state() == QAbstractSocket::ConnectedState) return;
    if (attemptPending_) {
        attemptPending_ = false;
        PostForThisAttempt(&TcpSwitcherSocket::ClosedByPeer);
        return;
    }
    OnDisconnected();
}

void TcpSwitcherSocket::OnReadyRead() {
    const qint64 waiting = socket_.bytesAvailable();
    Q_EMIT DataAvailable(
        static_cast<int>(std::min<qint64>(waiting, std::numeric_limits<int>::max())));
}
