// A switcher played by the test: a loopback server that keeps what the panel
// sends and sends whatever the test tells it to.
#pragma once

#include <QAction>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "MainWindow.h"
#include "Recorders.h"
#include "SwitcherLinkFactory.h"

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

// The real window and link on a temporary program folder.
struct LivePanel {
    QTemporaryDir dir;
    RecordingLog log;
    std::unique_ptr<MainWindow> window;

    void WriteIni(const QByteArray& text) {
        QFile file(dir.filePath(QStringLiteral("Slider.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    MainWindow& Open() {
        window = std::make_unique<MainWindow>(dir.path(), log, &MakeSwitcherLink);
        window->show();
        return *window;
    }
    QAction* Menu(const QString& text) const {
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->text() == text) return action;
        }
        return nullptr;
    }
};

inline QByteArray Ini(quint16 port, int stage, const QList<int>& channels) {
    QByteArray text = "[CONFIGURATION]\r\nGain Stage=" + QByteArray::number(stage) +
                      "\r\nFader Count=" + QByteArray::number(channels.size()) + "\r\n";
    for (int n = 1; n <= channels.size(); ++n) {
        text += "Chan " + QByteArray::number(n) + "=" + QByteArray::number(channels[n - 1]) +
                "\r\nLink " + QByteArray::number(n) + "=0\r\n";
    }
    return text + "IP Address=127.0.0.1\r\nIP Port=" + QByteArray::number(port) + "\r\n";
}
