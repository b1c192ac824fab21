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
    bool Start();
    // Sends the current gains of the run to every connected panel.
    void ReportGains(const GainRun& run);

private:
    bool Listen();
    void AcceptPanels();
    void ApplyGainChange(const GainChange& change);
    void BeginOutage(double seconds);
    void EndOutage();
    void Forget(PanelSession* session);

    const SimOptions& options_;
    SwitcherModel& model_;
    MessagePrinter& printer_;
    QTcpServer listener_;
    QHostAddress address_;
    quint16 port_ = 0;
    int panelsSeen_ = 0;
    std::vector<PanelSession*> sessions_;  // children of this object
};
