// The simulator's listener: accepts panels, keeps one session per panel,
// applies the gain changes they send to the model and reports what the
// switcher took to every connected panel. Can go away for a while (an
// outage) and come back on the same port.
#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <vector>

#include "GainMessages.h"
#include "SimOptions.h"
#include "SwitcherModel.h"

class MessagePrinter;
class PanelSession;

class SwitcherServer : public QObject {
    Q_OBJECT
public:
    SwitcherServer(const SimOptions& options, SwitcherModel& model, MessagePrinter& printer,
                   QObject* parent = nullptr);

    // Prints the address and port it listens on; false when it cannot listen.
    bool start();
    // Sends the current gains of the run to every connected panel.
    void reportGains(const GainRun& run);

private:
    bool listen();
    void acceptPanels();
    void applyGainChange(const GainChange& change);
    void beginOutage(double seconds);
    void endOutage();
    void forget(PanelSession* session);

    const SimOptions& m_options;
    SwitcherModel& m_model;
    MessagePrinter& m_printer;
    QTcpServer m_listener;
    QHostAddress m_address;
    quint16 m_port = 0;
    int m_panelsSeen = 0;
    std::vector<PanelSession*> m_sessions;  // children of this object
};
