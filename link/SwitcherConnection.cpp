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
      m_socket(std::move(socket)),
      m_clock(clock ? std::move(clock) : std::make_unique<SystemLinkClock>()),
      m_machine(state, view, log, *m_socket, *m_clock),
      m_ctx{state, view, log, *this},
      m_decoders(std::move(decoders)),
      m_receive(*m_socket, log) {
    m_tmrDecode.setInterval(DecodeIntervalMs);
    connect(&m_tmrDecode, &QTimer::timeout, this, &SwitcherConnection::tmrDecode_Timer);
    connect(m_socket.get(), &SwitcherSocket::dataAvailable, this,
            &SwitcherConnection::scktServer_DataAvailable);
    connect(m_socket.get(), &SwitcherSocket::connectComplete, this,
            [this] { m_machine.connectComplete(); });
    connect(m_socket.get(), &SwitcherSocket::closedByPeer, this,
            [this] { m_machine.closedByPeer(); });
}

SwitcherConnection::~SwitcherConnection() {
    QObject::disconnect(m_socket.get(), nullptr, this, nullptr);
}

void SwitcherConnection::scktServer_DataAvailable(int count) {
    try {
        if (!m_receive.readWaiting(count)) return;
        const bool tookOne = decodeOne();
        if (tookOne && !m_receive.buffer().isEmpty() && !m_tmrDecode.isActive()) {
            m_tmrDecode.start();
        }
    } catch (...) {
        m_receive.logReceiveFault();
    }
}

void SwitcherConnection::tmrDecode_Timer() {
    if (m_receive.buffer().isEmpty() || !decodeOne()) m_tmrDecode.stop();
}

// An answered type request starts the wait for the tables; every message
// may be the one that completes them.
bool SwitcherConnection::decodeOne() {
    if (m_decoding) return true;  // the decoding under way goes on by the timer
    m_decoding = true;
    Dispatched done;
    done.tookMessage = true;
    try {
        done = ProcessSwitcherBuffer(m_receive.buffer(), m_ctx, m_decoders);
        if (done.command == Frame::Command::Type && done.answered) m_machine.typeRequestAnswered();
        m_machine.messageProcessed();
    } catch (...) {
        // The dispatcher traps its own faults; this only keeps a stray one
        // out of the event loop.
        m_ctx.log.LogError(QStringLiteral("Error Processing Command"),
                           QStringLiteral("Switcher Message Error"));
    }
    m_decoding = false;
    return done.tookMessage;
}

void SwitcherConnection::SendGainMessage(int16_t stage, int16_t code, int16_t channel,
                                         int16_t extra) {
    sendGainChange(m_ctx, stage, code, channel, extra);
}

void SwitcherConnection::SendStereoGainMessage(int16_t stage, int16_t code, int16_t firstChannel,
                                               int16_t count) {
    sendStereoGainChange(m_ctx, stage, code, firstChannel, count);
}

void SwitcherConnection::ConnectToSwitcher() { m_machine.ConnectToSwitcher(); }

void SwitcherConnection::DisconnectFromSwitcher() { m_machine.DisconnectFromSwitcher(); }

void SwitcherConnection::SendToSwitcher(const QByteArray& message) {
    try {
        const QDeadlineTimer giveUp(SendGiveUpMs);
        for (;;) {
            if (!m_socket->IsConnected()) {
                m_machine.sendFailed();
                return;
            }
            const int accepted = m_socket->Write(message);
            // Only would-block is worth repeating; any other refusal means
            // the connection is broken.
            if (accepted < 1 && m_socket->LastError() != SwitcherSocket::WouldBlock) {
                m_machine.sendFailed();
                return;
            }
            if (m_socket->SentCount() == message.size()) return;
            if (giveUp.hasExpired()) break;
            QThread::msleep(RetryPauseMs);
        }
    } catch (...) {
        // reported below, as a send that gave up
    }
    m_ctx.log.LogError(QStringLiteral("Error sending to switcher"),
                       QStringLiteral("Switcher Message Error"));
}
