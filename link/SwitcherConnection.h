// The link to the switcher: writes messages, feeds received bytes to the
// dispatcher, and leaves the connection's life (connecting, retries after a
// loss, the menu caption and the status shown) to its state machine. Owns
// the socket.
#pragma once

#include <QByteArray>
#include <QObject>
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

    SwitcherConnection(PanelState& state, PanelView& view, ErrorSink& log,
                       std::unique_ptr<SwitcherSocket> socket, QObject* parent = nullptr);
    // With a clock of the caller's choosing, for tests that drive time by hand.
    SwitcherConnection(PanelState& state, PanelView& view, ErrorSink& log,
                       std::unique_ptr<SwitcherSocket> socket, std::unique_ptr<LinkClock> clock,
                       QObject* parent = nullptr);
    ~SwitcherConnection() override;

    void SendGainMessage(int16_t stage, int16_t code, int16_t channel, int16_t extra) override;
    void SendStereoGainMessage(int16_t stage, int16_t code, int16_t firstChannel,
                               int16_t count) override;
    void ConnectToSwitcher() override;
    void DisconnectFromSwitcher() override;

    void SendToSwitcher(const QByteArray& message) override;

    // Received bytes still waiting to be decoded (tmrDecode is running).
    bool DecodePending() const { return receive_.DecodePending(); }
    const LinkStateMachine& Machine() const { return machine_; }

private:
    DecoderTable WatchedDecoders();
    bool ProcessReceived(ReceiveBuffer& buffer);

    std::unique_ptr<SwitcherSocket> socket_;
    std::unique_ptr<LinkClock> clock_;
    LinkStateMachine machine_;
    LinkContext ctx_;
    DecoderTable decoders_;
    ReceivePath receive_;
    // Messages handed to the socket so far: tells an answered type request
    // from an ignored one.
    uint64_t sendCalls_ = 0;
};
