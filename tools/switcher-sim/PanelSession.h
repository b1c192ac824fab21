// One panel's connection: the simulator speaks first with the type request,
// answers information requests from the model, passes gain changes on to the
// server, asks for keep-alives, and applies the fault options to what it sends.
#pragma once

#include <QObject>
#include <QTimer>

#include "GainMessages.h"
#include "ModelMessages.h"
#include "ReceiveBuffer.h"
#include "SimOptions.h"
#include "WireWriter.h"

class MessagePrinter;
class QTcpSocket;

class PanelSession : public QObject {
    Q_OBJECT
public:
    // Takes ownership of the connected socket.
    PanelSession(int number, QTcpSocket* socket, const SimOptions& options,
                 const SwitcherModel& model, MessagePrinter& printer, QObject* parent = nullptr);

    int number() const { return m_number; }
    void send(const Outgoing& message);
    // Drops the connection at once, as a switcher that goes away does.
    void drop();

Q_SIGNALS:
    void gainChangeReceived(const GainChange& change);
    void finished(PanelSession* session);

private:
    void onReadyRead();
    void finish(const QString& why);
    void handle(const QByteArray& message);
    void sendRequestedTables(const QByteArray& message, int32_t code);
    void passOnGainChange(const QByteArray& message, const GainChange& change);
    void askKeepAlive();
    void received(const QByteArray& message, const QString& meaning);
    void countMessage();

    int m_number;
    QTcpSocket* m_socket;
    const SimOptions& m_options;
    const SwitcherModel& m_model;
    MessagePrinter& m_printer;
    WireWriter m_writer;
    ReceiveBuffer m_buffer;
    QTimer m_keepAlive;
    bool m_keepAliveAnswered = true;
    int m_messages = 0;          // both ways, for --close-after
    int m_longMessagesSent = 0;  // for --corrupt
    bool m_closing = false;      // nothing more is sent or handled
    bool m_finished = false;     // Finished was emitted
};
