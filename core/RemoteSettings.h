// How the panel listens for remote control over OSC: off unless the operator
// turns it on, and then on 127.0.0.1 unless told another address; beyond
// the loopback address only the senders on the allow-list are obeyed.
#pragma once

#include <QString>
#include <QStringList>

struct RemoteSettings {
    static constexpr int DefaultPort = 9000;

    bool enabled = false;
    QString address = QStringLiteral("127.0.0.1");
    int port = DefaultPort;
    QStringList allowed;  // sender addresses

    bool operator==(const RemoteSettings& other) const {
        return enabled == other.enabled && address == other.address && port == other.port &&
               allowed == other.allowed;
    }
};
