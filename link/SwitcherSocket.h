// A non-blocking IPv4 TCP client socket as the link needs it. Results follow
// the convention the link code was written against: Connect gives 0 when the
// attempt is under way, Write and Read report counts, and LastError tells a
// would-block (nothing to do right now) from a real failure. The three events
// arrive on the UI thread.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>

class SwitcherSocket : public QObject {
    Q_OBJECT
public:
    static constexpr int WouldBlock = 24035;

    using QObject::QObject;
    ~SwitcherSocket() override = default;

    // 0 = attempt under way (or made); anything else = failed at once.
    virtual int Connect(const QString& address, int32_t port) = 0;
    // Closing from our side never raises closedByPeer.
    virtual void Close() = 0;
    virtual bool IsConnected() const = 0;
    // Bytes accepted; below 1 = none (see LastError).
    virtual int Write(const QByteArray& bytes) = 0;
    // At most maxCount bytes; empty = nothing more (LastError says why).
    virtual QByteArray Read(int maxCount) = 0;
    virtual int LastError() const = 0;
    // Bytes of the last Write that went out.
    virtual int SentCount() const = 0;

Q_SIGNALS:
    void connectComplete();
    void dataAvailable(int count);
    void closedByPeer();
};
