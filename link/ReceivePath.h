// The receive side of the link: every data-available event reads all waiting
// bytes into the receive buffer and decodes one message at once; the 1 ms
// timer tmrDecode then decodes one more per tick until the buffer is empty,
// so a burst of messages never holds the UI thread for long. The timer rests
// while only an unfinished message waits: the next bytes start it again.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "ReceiveBuffer.h"
#include "SwitcherSocket.h"

class ErrorSink;

class ReceivePath : public QObject {
    Q_OBJECT
public:
    // Takes at most one message from the front of the buffer; false when no
    // whole message was there.
    using Process = std::function<bool(ReceiveBuffer&)>;

    ReceivePath(SwitcherSocket& socket, ErrorSink& log, Process process, QObject* parent = nullptr);

    void scktServer_DataAvailable(int count);
    void tmrDecode_Timer();

    bool DecodePending() const { return tmrDecode_.isActive(); }
    const ReceiveBuffer& Buffer() const { return buffer_; }

private:
    // False when the buffer holds no whole message, so ticking is pointless.
    bool ProcessOnce();
    void LogReceiveFault();

    SwitcherSocket& socket_;
    ErrorSink& log_;
    Process process_;
    ReceiveBuffer buffer_;
    QTimer tmrDecode_;
    // A decoder that writes to the socket may let a data-available event in;
    // that one only stores its bytes and leaves the decoding to the timer.
    bool processing_ = false;
};
