#include "SwitcherConnection.h"

#include <QDeadlineTimer>
#include <QThread>

#include "Dispatcher.h"
#include "ErrorSink.h"
#include "GainMessages.h"
#include "PanelState.h"
#include "PanelView.h"

namespace {
const QString ConnectCaption = QStringLiteral("&Connect");
const QString DisconnectCaption = QStringLiteral("&Disconnect");
const QString ConnectionError = QStringLiteral("Connection Error");
// Between refused writes: time for the network to take some bytes.
constexpr unsigned long RetryPauseMs = 1;
}  // namespace

SwitcherConnection::SwitcherConnection(PanelState& state, PanelView& view, ErrorSink& log,
                                       std::unique_ptr<SwitcherSocket> socket, QObject* parent)
    : QObject(parent),
      state_(state),
      view_(view),
      log_(log),
      socket_(std::move(socket)),
      ctx_{state, view, log, *this},
      receive_(*socket_, log,
               [this](ReceiveBuffer& buffer) { ProcessSwitcherBuffer(buffer, ctx_); }) {
    connect(socket_.get(), &SwitcherSocket::ConnectComplete, this,
            &SwitcherConnection::scktServer_Connect);
    connect(socket_.get(), &SwitcherSocket::ClosedByPeer, this,
            &SwitcherConnection::scktServer_Close);
}

SwitcherConnection::~SwitcherConnection() {
    QObject::disconnect(socket_.get(), nullptr, this, nullptr);
}

void SwitcherConnection::SendGainMessage(int16_t stage, int16_t code, int16_t channel,
                                         int16_t extra) {
    SendGainChange(ctx_, stage, code, channel, extra);
}

void SwitcherConnection::SendStereoGainMessage(int16_t stage, int16_t code, int16_t firstChannel,
                                               int16_t count) {
    SendStereoGainChange(ctx_, stage, code, firstChannel, count);
}

void SwitcherConnection::ConnectToSwitcher() {
    try {
        if (socket_->Connect(state_.IPAddress, state_.IPPort) == 0) return;
        socket_->Close();
        view_.ShowConnectFailure();
    } catch (...) {
        log_.LogError(QStringLiteral("Error Connecting to Switcher"), ConnectionError);
    }
}

void SwitcherConnection::DisconnectFromSwitcher() {
    try {
        socket_->Close();
        state_.Connected = false;
        view_.SetConnectCaption(ConnectCaption);
    } catch (...) {
        log_.LogError(QStringLiteral("Error dsiconnecting from server"), ConnectionError);
    }
}

void SwitcherConnection::scktServer_Connect() {
    try {
        view_.SetConnectCaption(DisconnectCaption);
        state_.Connected = true;
    } catch (...) {
        log_.LogError(QStringLiteral("Error Connecting to Switcher"), ConnectionError);
    }
}

// The link is gone: show it as down at once, so File > Connect reconnects.
void SwitcherConnection::scktServer_Close() { DisconnectFromSwitcher(); }

void SwitcherConnection::SendToSwitcher(const QByteArray& message) {
    try {
        const QDeadlineTimer giveUp(SendGiveUpMs);
        for (;;) {
            if (!socket_->IsConnected()) {
                DisconnectFromSwitcher();
                return;
            }
            const int accepted = socket_->Write(message);
            // A real failure ends the send quietly; only would-block is retried.
            if (accepted < 1 && socket_->LastError() != SwitcherSocket::WouldBlock) return;
            if (socket_->SentCount() == message.size()) return;
            if (giveUp.hasExpired()) break;
            QThread::msleep(RetryPauseMs);
        }
    } catch (...) {
        // reported below, as a send that gave up
    }
    log_.LogError(QStringLiteral("Error sending to switcher"),
                  QStringLiteral("Switcher Message Error"));
}
