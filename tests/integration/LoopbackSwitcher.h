// A switcher played by the test: a loopback server that keeps what the panel
// sends and sends whatever the test tells it to.
#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "LivePanel.h"

constexpr int Patience = 5000;  // ms

struct LoopbackSwitcher {
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray received;
    int connections = 0;

    LoopbackSwitcher() {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            peer = server.nextPendingConnection();
            ++connections;
            received.clear();
            QObject::connect(peer, &QTcpSocket::readyRead, peer,
                             [this, p = peer] { received += p->readAll(); });
        });
    }
    quint16 Port() const { return server.serverPort(); }
    void Send(const char* hex) {
        peer->write(QByteArray::fromHex(hex));
        peer->flush();
    }
    bool PeerOpen() const { return peer && peer->state() == QAbstractSocket::ConnectedState; }
};
