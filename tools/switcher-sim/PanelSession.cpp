#include "PanelSession.h"

#include <QTcpSocket>

#include "Dispatcher.h"
#include "Frame.h"
#include "InfoRequest.h"
#include "MessagePrinter.h"
#include "TypeRequest.h"

namespace {

// A byte with bit 7 clear that differs from the right checksum.
void CorruptChecksum(QByteArray& message) {
    const qsizetype at = message.size() - 2;
    message[at] = static_cast<char>((Frame::byteAt(message, at) + 1) & 0x7F);
}

}  // namespace

PanelSession::PanelSession(int number, QTcpSocket* socket, const SimOptions& options,
                           const SwitcherModel& model, MessagePrinter& printer, QObject* parent)
    : QObject(parent),
      number_(number),
      socket_(socket),
      options_(options),
      model_(model),
      printer_(printer),
      writer_(*socket, options.split, options.seed + static_cast<quint32>(number)) {
    socket_->setParent(this);
    connect(socket_, &QTcpSocket::readyRead, this, &PanelSession::OnReadyRead);
    connect(socket_, &QTcpSocket::disconnected, this,
            [this] { Finish(QStringLiteral("disconnected")); });
    connect(&keepAlive_, &QTimer::timeout, this, &PanelSession::AskKeepAlive);
    printer_.Event(number_, QStringLiteral("connected from %1:%2")
                                .arg(socket_->peerAddress().toString())
                                .arg(socket_->peerPort()));
    if (options_.keepAliveSeconds > 0) keepAlive_.start(Milliseconds(options_.keepAliveSeconds));
    Send({EncodeTypeRequest(), QStringLiteral("type request")});
}

void PanelSession::Send(const Outgoing& message) {
    if (closing_) return;
    QByteArray bytes = message.bytes;
    QString meaning = message.meaning;
    if (bytes.size() > 1 && options_.corruptEvery > 0 &&
        ++longMessagesSent_ % options_.corruptEvery == 0) {
        CorruptChecksum(bytes);
        meaning += QStringLiteral(" [checksum corrupted]");
    }
    printer_.Message(number_, Direction::Sent, bytes, meaning);
    writer_.Write(bytes);
    CountMessage();
}

void PanelSession::Drop() {
    Finish(QStringLiteral("dropped"));
    socket_->abort();
}

void PanelSession::OnReadyRead() {
    if (!buffer_.Append(socket_->readAll())) {
        printer_.Event(number_, QStringLiteral("receive buffer overflowed, bytes dropped"));
    }
    while (!closing_) {
        const std::optional<QByteArray> message = TakeNextMessage(buffer_);
        if (!message) break;
        Handle(*message);
    }
}

void PanelSession::Finish(const QString& why) {
    if (finished_) return;
    finished_ = true;
    closing_ = true;
    keepAlive_.stop();
    printer_.Event(number_, why);
    Q_EMIT Finished(this);
}

// Each decoder checks the command byte, the checksum and the length of its
// own message; what none of them takes is printed and ignored.
void PanelSession::Handle(const QByteArray& message) {
    if (Frame::byteAt(message, 0) == Frame::KeepAliveAnswer) {
        keepAliveAnswered_ = true;
        Received(message, QStringLiteral("keep-alive answer"));
    } else if (const std::optional<QByteArray> type = DecodeTypeReply(message)) {
        Received(
            message,
            QStringLiteral("type reply (%1)").arg(QString::fromLatin1(type->toHex(' ').toUpper())));
    } else if (const std::optional<int32_t> code = DecodeInfoRequest(message)) {
        SendRequestedTables(message, *code);
    } else if (const std::optional<GainChange> change = DecodeGainChange(message)) {
        PassOnGainChange(message, *change);
    } else if (message.size() > 1 && !Frame::HasValidChecksum(message)) {
        Received(message, QStringLiteral("bad checksum, ignored"));
    } else {
        Received(message, QStringLiteral("not expected from a panel, ignored"));
    }
}

void PanelSession::SendRequestedTables(const QByteArray& message, int32_t code) {
    Received(
        message,
        QStringLiteral("information request %1 (%2)").arg(code).arg(RequestedTablesText(code)));
    for (const Outgoing& answer : AnswerInfoRequest(model_, code, options_.advanced)) {
        Send(answer);
    }
}

void PanelSession::PassOnGainChange(const QByteArray& message, const GainChange& change) {
    QString meaning =
        QStringLiteral("gain change ") + GainsText(change.stage, change.firstChannel, change.codes);
    if (change.extra) meaning += QStringLiteral(", extra %1").arg(*change.extra);
    Received(message, meaning);
    Q_EMIT GainChangeReceived(change);
}

void PanelSession::AskKeepAlive() {
    if (!keepAliveAnswered_) printer_.Event(number_, QStringLiteral("no answer to the last F5"));
    keepAliveAnswered_ = false;
    Send({QByteArray(1, static_cast<char>(Frame::KeepAliveQuestion)),
          QStringLiteral("keep-alive question")});
}

void PanelSession::Received(const QByteArray& message, const QString& meaning) {
    printer_.Message(number_, Direction::Received, message, meaning);
    CountMessage();
}

void PanelSession::CountMessage() {
    ++messages_;
    if (closing_ || options_.closeAfter == 0 || messages_ < options_.closeAfter) return;
    closing_ = true;
    keepAlive_.stop();
    printer_.Event(number_, QStringLiteral("closing after %1 messages").arg(messages_));
    writer_.CloseWhenDone();
}
