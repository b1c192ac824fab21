// The link to the switcher: writes messages, reads what arrives and decodes
// it one message at a time, and leaves the connection's life (connecting,
// retries after a loss, the menu caption and the status shown) to its state
// machine. Owns the socket.
//
// Every data-available event reads all waiting bytes and decodes one message
// at once; the 1 ms timer tmrDecode then decodes one more per tick until the
// buffer is empty, so a burst never holds the UI thread for long. The timer
// rests while only an unfinished message waits: the next bytes start it.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <memory>

#include "Dispatcher.h"
#include "LinkClock.h"
#include "LinkContext.h"
#include "LinkStateMachine.h"
#include "ReceivePath.h"
#include "SwitcherLinkPort.h"
#include "SwitcherSocket.h"

class SwitcherConnection : public QObject, public SwitcherLinkPort, public MessageSender {
    Q_OBJECT
public:
    // A message the socket keeps refusing is given up after this long, so a
    // stalled switcher never freezes the panel.
    static constexpr int SendGiveUpMs = 2000;

    // The clock (the system's when null) and the decoders are for tests that
    // drive time by hand or watch what is decoded.
    SwitcherConnection(PanelState& state, PanelView& view, ErrorSink& log,
                       std::unique_ptr<SwitcherSocket> socket,
                       std::unique_ptr<LinkClock> clock = nullptr,
                       DecoderTable decoders = switcherDecoders(), QObject* parent = nullptr);
    ~SwitcherConnection() override;

    void SendGainMessage(int16_t stage, int16_t code, int16_t channel, int16_t extra) override;
    void SendStereoGainMessage(int16_t stage, int16_t code, int16_t firstChannel,
                               int16_t count) override;
    void ConnectToSwitcher() override;
    void DisconnectFromSwitcher() override;

    void SendToSwitcher(const QByteArray& message) override;

    void scktServer_DataAvailable(int count);
    void tmrDecode_Timer();

    // Whole messages wait to be decoded (tmrDecode is running).
    bool decodePending() const { return m_tmrDecode.isActive(); }
    const ReceiveBuffer& buffer() const { return m_receive.buffer(); }
    const LinkStateMachine& machine() const { return m_machine; }

private:
    // False when no whole message was there to decode.
    bool decodeOne();

    std::unique_ptr<SwitcherSocket> m_socket;
    std::unique_ptr<LinkClock> m_clock;
    LinkStateMachine m_machine;
    LinkContext m_ctx;
    DecoderTable m_decoders;
    ReceivePath m_receive;
    QTimer m_tmrDecode;
    // A decoder that writes to the socket may let a data-available event in;
    // that one only stores its bytes and leaves the decoding to the timer.
    bool m_decoding = false;
};
