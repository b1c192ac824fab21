// Puts bytes on a panel's connection, in order: whole, or (to test a panel's
// receive path) in random pieces of one to a few bytes, a few milliseconds
// apart, so that they really arrive apart.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>
#include <deque>

class QTcpSocket;

class WireWriter : public QObject {
    Q_OBJECT
public:
    // split: pieces drawn from random; whole writes otherwise.
    WireWriter(QTcpSocket& socket, bool split, quint32 seed, QObject* parent = nullptr);

    void write(const QByteArray& bytes);
    // Closes the connection once everything written so far has gone out.
    void closeWhenDone();

private:
    void writeNextPiece();
    void closeIfDone();

    QTcpSocket& m_socket;
    bool m_split;
    QRandomGenerator m_random;
    std::deque<QByteArray> m_pieces;
    QTimer m_pacer;
    bool m_closing = false;
};
