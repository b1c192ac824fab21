#include "SwitcherConnection.h"

#include <QDeadlineTimer>
#include <QThread>

#include "ErrorSink.h"
#include "Frame.h"
#include "GainMessages.h"
#include "TypeRequest.h"

namespace {
// Between refused writes: time for the network to take some bytes.
constexpr unsigned long RetryPauseMs = 1;
}  // namespace

SwitcherConnection::SwitcherConnection(PanelState& state, PanelView& view, ErrorSink& log,
                                       std::unique_ptr<SwitcherSocket> socket, QObject* parent)
    : SwitcherConnection(state, view, log, std::move(socket), std::make_unique<SystemLinkClock>(),
                         parent) {}

SwitcherConnection::SwitcherConnection(PanelState& state, PanelView& view, ErrorSink& log,
                                       std::unique_ptr<SwitcherSocket> socket,
                                       std::unique_ptr<LinkClock> clock, QObject* parent)
    : QObject(parent),
      socket_(std::move(socket)),
      clock_(std::move(clock)),
      machine_(state, view, log, *socket_, *clock_),
      ctx_{state, view, log, *this},
      decoders_(WatchedDecoders()),
      receive_(*socket_, log, [this](ReceiveBuffer& buffer) { return ProcessReceived(buffer); }) {
    connect(socket_.get(), &SwitcherSocket::ConnectComplete, this,
            [this] { machine_.ConnectComplete(); });
    connect(socket_.get(), &SwitcherSocket::ClosedByPeer, this,
            [this] { machine_.ClosedByPeer(); });
}

SwitcherConnection::~SwitcherConnection() {
    QObject::disconnect(socket_.get(), nullptr, this, nullptr);
}

// The switcher's decoders, with the type request watched: an answered one
// starts the wait for the tables.
DecoderTable SwitcherConnection::WatchedDecoders() {
    DecoderTable table = SwitcherDecoders();
    table[Frame::Command::Type] = [this](LinkContext& ctx, const QByteArray& message) {
        const uint64_t before = sendCalls_;
        ProcessTypeRequest(ctx, message);
        if (sendCalls_ != before) machine_.TypeRequestAnswered();
    };
    return table;
}

bool SwitcherConnection::ProcessReceived(ReceiveBuffer& buffer) {
    const bool tookOne = ProcessSwitcherBuffer(buffer, ctx_, decoders_);
    machine_.MessageProcessed();
    return tookOne;
}

void SwitcherConnection::SendGainMessage(int16_t stage, int16_t code, int16_t channel,
                                         int16_t extra) {
    SendGainChange(ctx_, stage, code, channel, extra);
}

void SwitcherConnection::SendStereoGainMessage(int16_t stage, int16_t code, int16_t firstChannel,
                                               int16_t count) {
    SendStereoGainChange(ctx_, stage, code, firstChannel, count);
}

void SwitcherConnection::ConnectToSwitcher() { machine_.ConnectToSwitcher(); }

void SwitcherConnection::DisconnectFromSwitcher() { machine_.DisconnectFromSwitcher(); }

void SwitcherConnection::SendToSwitcher(const QByteArray& message) {
    ++sendCalls_;
    try {
        const QDeadlineTimer giveUp(SendGiveUpMs);
        for (;;) {
            if (!socket_->IsConnected()) {
                machine_.SendFailed();
                return;
            }
            const int accepted = socket_->Write(message);
            // Only would-block is worth repeating; any other refusal means
            // the connection is broken.
            if (accepted < 1 && socket_->LastError() != SwitcherSocket::WouldBlock) {
                machine_.SendFailed();
                return;
            }
            if (socket_->SentCount() == message.size()) return;
            if (giveUp.hasExpired()) break;
            QThread::msleep(RetryPauseMs);
        }
    } catch (...) {
        // reported below, as a send that gave up
    }
    ctx_.log.LogError(QStringLiteral("Error sending to switcher"),
                      QStringLiteral("Switcher Message Error"));
}
