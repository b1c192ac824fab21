// A socket the test drives by hand: it records what the link writes and
// hands the link whatever bytes and events the test injects.
#pragma once

#include <QByteArray>
#include <QList>

#include "SwitcherSocket.h"

class FakeSocket : public SwitcherSocket {
    Q_OBJECT
public:
    using SwitcherSocket::SwitcherSocket;

    // --- what the link calls
    int Connect(const QString& address, int32_t port) override;
    void Close() override;
    bool IsConnected() const override { return connected; }
    int Write(const QByteArray& bytes) override;
    QByteArray Read(int maxCount) override;
    int LastError() const override { return lastError; }
    int SentCount() const override { return sentCount; }

    // --- what the test calls
    // Queue bytes as the peer's and raise dataAvailable with the count waiting.
    void deliver(const QByteArray& bytes);
    void completeConnect();
    void peerCloses();
    QByteArray written() const;  // every accepted write, joined

    // --- knobs and records
    int connectResult = 0;  // what Connect returns
    bool connected = false;
    int lastError = 0;
    int sentCount = 0;
    // Writes fail with would-block (SentCount 0) this many times first.
    int writesToBlock = 0;
    QList<QByteArray> writes;
    int connectCalls = 0;
    int closeCalls = 0;
    QByteArray incoming;
};
