// The link to the switcher: opens and closes the connection, shows its state
// through the connect menu caption, writes messages, and feeds received bytes
// to the dispatcher. Owns the socket.
#pragma once

#include <QByteArray>
#include <QObject>
#include <memory>

#include "LinkContext.h"
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
    ~SwitcherConnection() override;

    void SendGainMessage(int16_t stage, int16_t code, int16_t channel, int16_t extra) override;
    void SendStereoGainMessage(int16_t stage, int16_t code, int16_t firstChannel,
                               int16_t count) override;
    void ConnectToSwitcher() override;
    void DisconnectFromSwitcher() override;

    void SendToSwitcher(const QByteArray& message) override;

    // Received bytes still waiting to be decoded (tmrDecode is running).
    bool DecodePending() const { return receive_.DecodePending(); }

private:
    void scktServer_Connect();
    void scktServer_Close();

    PanelState& state_;
    PanelView& view_;
    ErrorSink& log_;
    std::unique_ptr<SwitcherSocket> socket_;
    LinkContext ctx_;
    ReceivePath receive_;
};
