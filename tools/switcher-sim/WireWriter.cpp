#include "WireWriter.h"

#include <QTcpSocket>

namespace {
constexpr int LargestPiece = 7;  // bytes
constexpr int LongestPauseMs = 3;
}  // namespace

WireWriter::WireWriter(QTcpSocket& socket, bool split, quint32 seed, QObject* parent)
    : QObject(parent), m_socket(socket), m_split(split), m_random(seed) {
    m_pacer.setSingleShot(true);
    connect(&m_pacer, &QTimer::timeout, this, &WireWriter::writeNextPiece);
    // Without it the network stack would join the pieces up again.
    if (m_split) m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

void WireWriter::write(const QByteArray& bytes) {
    if (m_closing) return;
    if (!m_split) {
        m_socket.write(bytes);
        m_socket.flush();
        return;
    }
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = m_random.bounded(1, LargestPiece + 1);
        m_pieces.push_back(bytes.mid(at, length));
        at += length;
    }
    if (!m_pacer.isActive()) m_pacer.start(0);
}

void WireWriter::closeWhenDone() {
    m_closing = true;
    closeIfDone();
}

void WireWriter::writeNextPiece() {
    if (m_pieces.empty()) return;
    m_socket.write(m_pieces.front());
    m_socket.flush();
    m_pieces.pop_front();
    if (!m_pieces.empty()) {
        m_pacer.start(m_random.bounded(LongestPauseMs + 1));
    } else {
        closeIfDone();
    }
}

// disconnectFromHost sends what the socket still holds before it closes.
void WireWriter::closeIfDone() {
    if (m_closing && m_pieces.empty()) m_socket.disconnectFromHost();
}
