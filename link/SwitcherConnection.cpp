#include "SwitcherConnection.h"

#include <QDeadlineTimer>
#include <QThread>

#include "ErrorSink.h"
#include "Frame.h"
#include "GainMessages.h"

namespace {
// Between refused writes: time for the network to take some bytes.
constexpr unsigned long RetryPauseMs = 1;
constexpr int DecodeIntervalMs = 1;
}  // namespace

SwitcherConnection::SwitcherConnection(PanelState& state, PanelView& view, ErrorSink& log,
                                       std::unique_ptr<SwitcherSocket> socket,
                                       std::unique_ptr<LinkClock> clock, DecoderTable decoders,
                                       QObject* parent)
    : QObject(parent),
      socket_(std::move(socket)),
      clock_(clock ? std::move(clock) : std::make_unique<SystemLinkClock>()),
      machine_(state, view, log, *socket_, *clock_),
      ctx_{state, view, log, *this},
      decoders_(std::move(decoders)),
      receive_(*socket_, log) {
    tmrDecode_.setInterval(DecodeIntervalMs);
    connect(&tmrDecode_, &QTimer::timeout, this, &SwitcherConnection::tmrDecode_Timer);
    connect(socket_.get(), &SwitcherSocket::DataAvailable, this,
            &SwitcherConnection::scktServer_DataAvailable);
    connect(socket_.get(), &SwitcherSocket::ConnectComplete, this,
            [this] { machine_.ConnectComplete(); });
    connect(socket_.get(), &SwitcherSocket::ClosedByPeer, this,
            [this] { machine_.ClosedByPeer(); });
}

SwitcherConnection::~SwitcherConnection() {
    QObject::disconnect(socket_.get(), nullptr, this, nullptr);
}

void SwitcherConnection::scktServer_DataAvailable(int count) {
    try {
        if (!receive_.ReadWaiting(count)) return;
        const bool tookOne = DecodeOne();
        if (tookOne && !receive_.Buffer().IsEmpty() && !tmrDecode_.isActive()) {
            tmrDecode_.start();
        }
    } catch (...) {
        receive_.LogReceiveFault();
    }
}

void SwitcherConnection::tmrDecode_Timer() {
    if (receive_.Buffer().IsEmpty() || !DecodeOne()) tmrDecode_.stop();
}

// An answered type request starts the wait for the tables; every message
// may be the one that completes them.
bool SwitcherConnection::DecodeOne() {
    if (decoding_) return true;  // the decoding under way goes on by the timer
    decoding_ = true;
    Dispatched done;
    done.tookMessage = true;
    try {
        done = ProcessSwitcherBuffer(receive_.Buffer(), ctx_, decoders_);
        if (done.command == Frame::Command::Type && done.answered) machine_.TypeRequestAnswered();
        machine_.MessageProcessed();
    } catch (...) {
        // The dispatcher traps its own faults; this only keeps a stray one
        // out of the event loop.
        ctx_.log.LogError(QStringLiteral("Error Processing Command"),
                          QStringLiteral("Switcher Message Error"));
    }
    decoding_ = false;
    return done.tookMessage;
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
