// The bytes the switcher sends, read from the socket into the receive buffer.
// The connection decides when to decode them; this side only reads, keeps
// the buffer within its bound and reports what went wrong.
#pragma once

#include "ReceiveBuffer.h"
#include "SwitcherSocket.h"

class ErrorSink;

class ReceivePath {
public:
    ReceivePath(SwitcherSocket& socket, ErrorSink& log);

    // Reads every waiting byte, count at a time. True when the socket then
    // had nothing more for now (would block), the moment to decode; false
    // after any other error, which leaves the bytes for the next event.
    bool readWaiting(int count);

    ReceiveBuffer& buffer() { return m_buffer; }
    const ReceiveBuffer& buffer() const { return m_buffer; }

    void logReceiveFault();

private:
    SwitcherSocket& m_socket;
    ErrorSink& m_log;
    ReceiveBuffer m_buffer;
};
