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
    int LastError() const override { return m_lastError; }
    int SentCount() const override { return m_sentCount; }

    // Four decimal numbers 0..255 separated by dots; blanks around are allowed.
    static std::optional<QHostAddress> parseDottedIPv4(const QString& text);

private:
    void onConnected();
    void onDisconnected();
    void onReadyRead();
    void onError();
    void dropConnection();
    bool makeRoomToWrite();
    int fail(int code);    // a Connect that fails at once
    int refuse(int code);  // a Write that takes nothing
    template <typename Signal>
    void postForThisAttempt(Signal signal);

    QTcpSocket m_socket;
    // Bumped by every connect and close, so events queued for an attempt that
    // is over are dropped.
    uint64_t m_attempt = 0;
    bool m_peerCloseArmed = false;
    bool m_attemptPending = false;  // connecting: a failure now is the attempt's
    int m_lastError = 0;
    int m_sentCount = 0;
};
