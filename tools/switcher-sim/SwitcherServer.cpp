#include "SwitcherServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

#include "MessagePrinter.h"
#include "ModelMessages.h"
#include "PanelSession.h"

namespace {
constexpr int RelistenPauseMs = 500;
}  // namespace

SwitcherServer::SwitcherServer(const SimOptions& options, SwitcherModel& model,
                               MessagePrinter& printer, QObject* parent)
    : QObject(parent),
      options_(options),
      model_(model),
      printer_(printer),
      address_(options.listenAddress),
      port_(options.port) {
    connect(&listener_, &QTcpServer::newConnection, this, &SwitcherServer::AcceptPanels);
}

bool SwitcherServer::Start() {
    if (!Listen()) return false;
    if (options_.outageSeconds > 0) {
        const double duration = options_.outageSeconds;
        QTimer::singleShot(Milliseconds(options_.outageAfterSeconds), this,
                           [this, duration] { BeginOutage(duration); });
    }
    return true;
}

bool SwitcherServer::Listen() {
    if (!listener_.listen(address_, port_)) {
        printer_.Note(QStringLiteral("cannot listen on %1:%2: %3")
                          .arg(address_.toString())
                          .arg(port_)
                          .arg(listener_.errorString()));
        return false;
    }
    port_ = listener_.serverPort();  // the one taken when any free port was asked for
    printer_.Note(QStringLiteral("listening on %1:%2").arg(address_.toString()).arg(port_));
    return true;
}

void SwitcherServer::AcceptPanels() {
    while (QTcpSocket* socket = listener_.nextPendingConnection()) {
        auto* session = new PanelSession(++panelsSeen_, socket, options_, model_, printer_, this);
        sessions_.push_back(session);
        connect(session, &PanelSession::GainChangeReceived, this, &SwitcherServer::ApplyGainChange);
        connect(session, &PanelSession::Finished, this, &SwitcherServer::Forget);
    }
}

// Every channel of the change is applied on its own; the report carries what
// was taken for the channels the switcher has.
void SwitcherServer::ApplyGainChange(const GainChange& change) {
    int first = -1;
    int count = 0;
    for (size_t i = 0; i < change.codes.size(); ++i) {
        const int channel = change.firstChannel + static_cast<int>(i);
        if (!model_.Apply(change.stage, channel, change.codes[i])) continue;
        if (first < 0) first = channel;
        count = channel - first + 1;
    }
    if (count == 0) {
        printer_.Note(
            QStringLiteral("gain change for a stage or channel this switcher does not "
                           "have, not applied"));
        return;
    }
    ReportGains({change.stage, first, count});
}

void SwitcherServer::ReportGains(const GainRun& run) {
    const std::vector<Outgoing> reports = GainReports(model_, run, options_.advanced);
    const std::vector<PanelSession*> sessions = sessions_;  // a send may end a session
    for (PanelSession* session : sessions) {
        for (const Outgoing& report : reports) session->Send(report);
    }
}

void SwitcherServer::BeginOutage(double seconds) {
    printer_.Note(QStringLiteral("outage: not listening for %1 s").arg(seconds));
    listener_.close();
    const std::vector<PanelSession*> sessions = sessions_;
    for (PanelSession* session : sessions) session->Drop();
    QTimer::singleShot(Milliseconds(seconds), this, &SwitcherServer::EndOutage);
}

// The port may still be held for a moment by the connections just dropped.
void SwitcherServer::EndOutage() {
    if (!Listen()) QTimer::singleShot(RelistenPauseMs, this, &SwitcherServer::EndOutage);
}

void SwitcherServer::Forget(PanelSession* session) {
    sessions_.erase(std::remove(sessions_.begin(), sessions_.end(), session), sessions_.end());
    session->deleteLater();
}
