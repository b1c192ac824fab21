#include "FakeSocket.h"

int FakeSocket::Connect(const QString& /*address*/, int32_t /*port*/) {
    ++connectCalls;
    return connectResult;
}

void FakeSocket::Close() {
    ++closeCalls;
    connected = false;
}

int FakeSocket::Write(const QByteArray& bytes) {
    if (writesToBlock > 0) {
        --writesToBlock;
        lastError = WouldBlock;
        sentCount = 0;
        return 0;
    }
    writes.append(bytes);
    lastError = 0;
    sentCount = static_cast<int>(bytes.size());
    return sentCount;
}

QByteArray FakeSocket::Read(int maxCount) {
    if (incoming.isEmpty()) {
        lastError = WouldBlock;
        return {};
    }
    QByteArray chunk = incoming.left(maxCount);
    incoming.remove(0, chunk.size());
    lastError = 0;
    return chunk;
}

void FakeSocket::deliver(const QByteArray& bytes) {
    incoming.append(bytes);
    Q_EMIT dataAvailable(static_cast<int>(incoming.size()));
}

void FakeSocket::completeConnect() {
    connected = true;
    Q_EMIT connectComplete();
}

void FakeSocket::peerCloses() {
    connected = false;
    Q_EMIT closedByPeer();
}

QByteArray FakeSocket::written() const {
    QByteArray all;
    for (const QByteArray& w : writes) all.append(w);
    return all;
}
