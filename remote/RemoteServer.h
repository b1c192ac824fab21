// Remote control over OSC on UDP: off until enabled; on 127.0.0.1 unless the
// operator chooses another address, and then obeying only the senders on the
// allow-list. Everything happens on the UI thread: datagrams are read by its
// event loop, their moves are gathered and carried out once per pass of the
// loop (the latest value of each fader wins, so a controller sending a
// thousand updates a second sends the switcher far fewer), and subscribers
// get feedback while their subscription lasts. Nothing runs while nobody
// subscribes.
#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUdpSocket>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "RemoteCommand.h"
#include "RemotePicture.h"
#include "RemoteSettings.h"

class ErrorSink;
class RemoteTarget;

class RemoteServer : public QObject {
    Q_OBJECT
public:
    static constexpr int SubscriptionMs = 60 * 1000;
    static constexpr int FeedbackEveryMs = 50;    // while someone subscribes
    static constexpr int LogEveryMs = 60 * 1000;  // per sender and kind of fault
    static constexpr std::size_t MostSubscribers = 16;

    RemoteServer(RemoteTarget& target, ErrorSink& log, QObject* parent = nullptr);

    // Listens, or stops, as the settings say. A socket that cannot be opened
    // is logged and leaves the server off.
    void apply(const RemoteSettings& settings);
    bool isListening() const { return m_socket.state() == QAbstractSocket::BoundState; }
    quint16 port() const { return m_socket.localPort(); }

    // One datagram from a sender, as the socket would hand it over.
    void handleDatagram(const QByteArray& datagram, const QHostAddress& from, quint16 port);
    // The moves gathered since the last pass, carried out now.
    void flushMoves();

    // For tests: a shorter subscription.
    void setSubscriptionMs(int ms) { m_subscriptionMs = ms; }
    int subscriberCount() const { return static_cast<int>(m_subscribers.size()); }

private:
    using Peer = std::pair<QString, quint16>;  // the address as text: it orders
    struct PendingMove {
        std::optional<int> code;  // an absolute gain asked for, if any
        double nudgeDb = 0;       // nudges on top of it
        QString sender;
    };
    struct Subscriber {
        QElapsedTimer since;
        int lastsMs = 0;
        std::optional<RemotePicture> sent;
    };

    void readDatagrams();
    bool obeys(const QHostAddress& from);
    void carryOut(const RemoteCommand& command, const QHostAddress& from, quint16 port);
    void subscribe(const Peer& peer);
    void queueFlush();
    void sendFeedback();
    void send(const QByteArray& message, const Peer& to);
    void logFault(const QHostAddress& from, int kind, const QString& description);

    RemoteTarget& m_target;
    ErrorSink& m_log;
    RemoteSettings m_settings;
    QUdpSocket m_socket;
    bool m_loopbackOnly = true;
    std::map<int, PendingMove> m_pending;  // by fader
    bool m_flushQueued = false;
    std::map<Peer, Subscriber> m_subscribers;
    int m_subscriptionMs = SubscriptionMs;
    QTimer m_feedback;  // runs only while someone subscribes
    QElapsedTimer m_clock;
    std::map<std::pair<QString, int>, qint64> m_lastLogged;  // (sender, kind) -> ms
    std::set<QString> m_refusedSenders;
};
