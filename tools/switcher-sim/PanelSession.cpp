#include "PanelSession.h"

#include <QTcpSocket>

#include "Dispatcher.h"
#include "Frame.h"
#include "InfoRequest.h"
#include "MessagePrinter.h"
#include "TypeRequest.h"

namespace {

// A byte with bit 7 clear that differs from the right checksum.
void corruptChecksum(QByteArray& message) {
    const qsizetype at = message.size() - 2;
    message[at] = static_cast<char>((Frame::byteAt(message, at) + 1) & 0x7F);
}

}  // namespace

PanelSession::PanelSession(int number, QTcpSocket* socket, const SimOptions& options,
                           const SwitcherModel& model, MessagePrinter& printer, QObject* parent)
    : QObject(parent),
      m_number(number),
      m_socket(socket),
      m_options(options),
      m_model(model),
      m_printer(printer),
      m_writer(*socket, options.split, options.seed + static_cast<quint32>(number)) {
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &PanelSession::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this,
            [this] { finish(QStringLiteral("disconnected")); });
    connect(&m_keepAlive, &QTimer::timeout, this, &PanelSession::askKeepAlive);
    m_printer.event(m_number, QStringLiteral("connected from %1:%2")
                                  .arg(m_socket->peerAddress().toString())
                                  .arg(m_socket->peerPort()));
    if (m_options.keepAliveSeconds > 0) m_keepAlive.start(milliseconds(m_options.keepAliveSeconds));
    send({encodeTypeRequest(), QStringLiteral("type request")});
}

void PanelSession::send(const Outgoing& message) {
    if (m_closing) return;
    QByteArray bytes = message.bytes;
    QString meaning = message.meaning;
    if (bytes.size() > 1 && m_options.corruptEvery > 0 &&
        ++m_longMessagesSent % m_options.corruptEvery == 0) {
        corruptChecksum(bytes);
        meaning += QStringLiteral(" [checksum corrupted]");
    }
    m_printer.message(m_number, Direction::Sent, bytes, meaning);
    m_writer.write(bytes);
    countMessage();
}

void PanelSession::drop() {
    finish(QStringLiteral("dropped"));
    m_socket->abort();
}

void PanelSession::onReadyRead() {
    if (!m_buffer.append(m_socket->readAll())) {
        m_printer.event(m_number, QStringLiteral("receive buffer overflowed, bytes dropped"));
    }
    while (!m_closing) {
        const std::optional<QByteArray> message = takeNextMessage(m_buffer);
        if (!message) break;
        handle(*message);
    }
}

void PanelSession::finish(const QString& why) {
    if (m_finished) return;
    m_finished = true;
    m_closing = true;
    m_keepAlive.stop();
    m_printer.event(m_number, why);
    Q_EMIT finished(this);
}

// Each decoder checks the command byte, the checksum and the length of its
// own message; what none of them takes is printed and ignored.
void PanelSession::handle(const QByteArray& message) {
    if (Frame::byteAt(message, 0) == Frame::KeepAliveAnswer) {
        m_keepAliveAnswered = true;
        received(message, QStringLiteral("keep-alive answer"));
    } else if (const std::optional<QByteArray> type = decodeTypeReply(message)) {
        received(
            message,
            QStringLiteral("type reply (%1)").arg(QString::fromLatin1(type->toHex(' ').toUpper())));
    } else if (const std::optional<int32_t> code = decodeInfoRequest(message)) {
        sendRequestedTables(message, *code);
    } else if (const std::optional<GainChange> change = decodeGainChange(message)) {
        passOnGainChange(message, *change);
    } else if (message.size() > 1 && !Frame::hasValidChecksum(message)) {
        received(message, QStringLiteral("bad checksum, ignored"));
    } else {
        received(message, QStringLiteral("not expected from a panel, ignored"));
    }
}

void PanelSession::sendRequestedTables(const QByteArray& message, int32_t code) {
    received(
        message,
        QStringLiteral("information request %1 (%2)").arg(code).arg(requestedTablesText(code)));
    for (const Outgoing& answer : answerInfoRequest(m_model, code, m_options.advanced)) {
        send(answer);
    }
}

void PanelSession::passOnGainChange(const QByteArray& message, const GainChange& change) {
    QString meaning =
        QStringLiteral("gain change ") + gainsText(change.stage, change.firstChannel, change.codes);
    if (change.extra) meaning += QStringLiteral(", extra %1").arg(*change.extra);
    received(message, meaning);
    Q_EMIT gainChangeReceived(change);
}

void PanelSession::askKeepAlive() {
    if (!m_keepAliveAnswered) m_printer.event(m_number, QStringLiteral("no answer to the last F5"));
    m_keepAliveAnswered = false;
    send({QByteArray(1, static_cast<char>(Frame::KeepAliveQuestion)),
          QStringLiteral("keep-alive question")});
}

void PanelSession::received(const QByteArray& message, const QString& meaning) {
    m_printer.message(m_number, Direction::Received, message, meaning);
    countMessage();
}

void PanelSession::countMessage() {
    ++m_messages;
    if (m_closing || m_options.closeAfter == 0 || m_messages < m_options.closeAfter) return;
    m_closing = true;
    m_keepAlive.stop();
    m_printer.event(m_number, QStringLiteral("closing after %1 messages").arg(m_messages));
    m_writer.closeWhenDone();
}
