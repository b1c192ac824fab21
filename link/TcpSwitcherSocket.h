// The switcher socket over QTcpSocket. Only dotted IPv4 addresses are taken,
// so a bad address fails at once instead of starting a name lookup. Writes are
// all or nothing: a message is either queued whole or refused with would-block
// while too much is still waiting to leave, so a retried message is never
// doubled on the wire. Connect-complete and closed-by-the-peer arrive as queued
// events, never from inside one of our own calls, and an attempt that was
// closed or replaced from our side raises neither any more. An attempt that
// fails (refused, no route) is reported as closed by the peer. Once connected,
// TCP keepalive watches for a switcher that vanished without a word.
#pragma once

#include <QHostAddress>
#include <QTcpSocket>
#include <cstdint>
#include <optional>

#include "SwitcherSocket.h"

class TcpSwitcherSocket : public SwitcherSocket {
    Q_OBJECT
public:
    // LastError codes besides WouldBlock.
    static constexpr int AddressNotValid = 1;
    static constexpr int PortNotValid = 2;
    static constexpr int NotConnected = 3;
    static constexpr int WriteFailed = 4;

    explicit TcpSwitcherSocket(QObject* parent = nullptr);
    ~TcpSwitcherSocket() override;

    int Connect(const QString& address, int32_t port) override;
    void Close() override;
    bool IsConnected() const override;
    int Write(const QByteArray& bytes) override;
    QByteArray Read(int maxCount) override;
    int LastError() const override { return lastError_; }
    int SentCount() const override { return sentCount_; }

    // Four decimal numbers 0..255 separated by dots; blanks around are allowed.
    static std::optional<QHostAddress> ParseDottedIPv4(const QString& text);

private:
    void OnConnected();
    void OnDisconnected();
    void OnReadyRead();
    void OnError();
    void DropConnection();
    bool MakeRoomToWrite();
    int Fail(int code);    // a Connect that fails at once
    int Refuse(int code);  // a Write that takes nothing
    template <typename Signal>
    void PostForThisAttempt(Signal signal);

    QTcpSocket socket_;
    // Bumped by every connect and close, so events queued for an attempt that
    // is over are dropped.
    uint64_t attempt_ = 0;
    bool peerCloseArmed_ = false;
    bool attemptPending_ = false;  // connecting: a failure now is the attempt's
    int lastError_ = 0;
    int sentCount_ = 0;
};
