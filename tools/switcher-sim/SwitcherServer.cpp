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
      m_options(options),
      m_model(model),
      m_printer(printer),
      m_address(options.listenAddress),
      m_port(options.port) {
    connect(&m_listener, &QTcpServer::newConnection, this, &SwitcherServer::acceptPanels);
}

bool SwitcherServer::start() {
    if (!listen()) return false;
    if (m_options.outageSeconds > 0) {
        const double duration = m_options.outageSeconds;
        QTimer::singleShot(milliseconds(m_options.outageAfterSeconds), this,
                           [this, duration] { beginOutage(duration); });
    }
    return true;
}

bool SwitcherServer::listen() {
    if (!m_listener.listen(m_address, m_port)) {
        m_printer.note(QStringLiteral("cannot listen on %1:%2: %3")
                           .arg(m_address.toString())
                           .arg(m_port)
                           .arg(m_listener.errorString()));
        return false;
    }
    m_port = m_listener.serverPort();  // the one taken when any free port was asked for
    m_printer.note(QStringLiteral("listening on %1:%2").arg(m_address.toString()).arg(m_port));
    return true;
}

void SwitcherServer::acceptPanels() {
    while (QTcpSocket* socket = m_listener.nextPendingConnection()) {
        auto* session =
            new PanelSession(++m_panelsSeen, socket, m_options, m_model, m_printer, this);
        m_sessions.push_back(session);
        connect(session, &PanelSession::gainChangeReceived, this, &SwitcherServer::applyGainChange);
        connect(session, &PanelSession::finished, this, &SwitcherServer::forget);
    }
}

// Every channel of the change is applied on its own; the report carries what
// was taken for the channels the switcher has.
void SwitcherServer::applyGainChange(const GainChange& change) {
    int first = -1;
    int count = 0;
    for (size_t i = 0; i < change.codes.size(); ++i) {
        const int channel = change.firstChannel + static_cast<int>(i);
        if (!m_model.apply(change.stage, channel, change.codes[i])) continue;
        if (first < 0) first = channel;
        count = channel - first + 1;
    }
    if (count == 0) {
        m_printer.note(
            QStringLiteral("gain change for a stage or channel this switcher does not "
                           "have, not applied"));
        return;
    }
    reportGains({change.stage, first, count});
}

void SwitcherServer::reportGains(const GainRun& run) {
    const std::vector<Outgoing> reports = gainReports(m_model, run, m_options.advanced);
    const std::vector<PanelSession*> sessions = m_sessions;  // a send may end a session
    for (PanelSession* session : sessions) {
        for (const Outgoing& report : reports) session->send(report);
    }
}

void SwitcherServer::beginOutage(double seconds) {
    m_printer.note(QStringLiteral("outage: not listening for %1 s").arg(seconds));
    m_listener.close();
    const std::vector<PanelSession*> sessions = m_sessions;
    for (PanelSession* session : sessions) session->drop();
    QTimer::singleShot(milliseconds(seconds), this, &SwitcherServer::endOutage);
}

// The port may still be held for a moment by the connections just dropped.
void SwitcherServer::endOutage() {
    if (!listen()) QTimer::singleShot(RelistenPauseMs, this, &SwitcherServer::endOutage);
}

void SwitcherServer::forget(PanelSession* session) {
    m_sessions.erase(std::remove(m_sessions.begin(), m_sessions.end(), session), m_sessions.end());
    session->deleteLater();
}
