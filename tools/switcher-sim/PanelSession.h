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

    int Number() const { return number_; }
    void Send(const Outgoing& message);
    // Drops the connection at once, as a switcher that goes away does.
    void Drop();

Q_SIGNALS:
    void GainChangeReceived(const GainChange& change);
    void Finished(PanelSession* session);

private:
    void OnReadyRead();
    void Finish(const QString& why);
    void Handle(const QByteArray& message);
    void SendRequestedTables(const QByteArray& message, int32_t code);
    void PassOnGainChange(const QByteArray& message, const GainChange& change);
    void AskKeepAlive();
    void Received(const QByteArray& message, const QString& meaning);
    void CountMessage();

    int number_;
    QTcpSocket* socket_;
    const SimOptions& options_;
    const SwitcherModel& model_;
    MessagePrinter& printer_;
    WireWriter writer_;
    ReceiveBuffer buffer_;
    QTimer keepAlive_;
    bool keepAliveAnswered_ = true;
    int messages_ = 0;          // both ways, for --close-after
    int longMessagesSent_ = 0;  // for --corrupt
    bool closing_ = false;      // nothing more is sent or handled
    bool finished_ = false;     // Finished was emitted
};
