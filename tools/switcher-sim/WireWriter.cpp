#include "WireWriter.h"

#include <QTcpSocket>

namespace {
constexpr int LargestPiece = 7;  // bytes
constexpr int LongestPauseMs = 3;
}  // namespace

WireWriter::WireWriter(QTcpSocket& socket, bool split, quint32 seed, QObject* parent)
    : QObject(parent), socket_(socket), split_(split), random_(seed) {
    pacer_.setSingleShot(true);
    connect(&pacer_, &QTimer::timeout, this, &WireWriter::WriteNextPiece);
    // Without it the network stack would join the pieces up again.
    if (split_) socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

void WireWriter::Write(const QByteArray& bytes) {
    if (closing_) return;
    if (!split_) {
        socket_.write(bytes);
        socket_.flush();
        return;
    }
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = random_.bounded(1, LargestPiece + 1);
        pieces_.push_back(bytes.mid(at, length));
        at += length;
    }
    if (!pacer_.isActive()) pacer_.start(0);
}

void WireWriter::CloseWhenDone() {
    closing_ = true;
    CloseIfDone();
}

void WireWriter::WriteNextPiece() {
    if (pieces_.empty()) return;
    socket_.write(pieces_.front());
    socket_.flush();
    pieces_.pop_front();
    if (!pieces_.empty()) {
        pacer_.start(random_.bounded(LongestPauseMs + 1));
    } else {
        CloseIfDone();
    }
}

// disconnectFromHost sends what the socket still holds before it closes.
void WireWriter::CloseIfDone() {
    if (closing_ && pieces_.empty()) socket_.disconnectFromHost();
}
