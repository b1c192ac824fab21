// What the link's unit tests share: a context whose sends are recorded with
// the time they went out, and short ways to write log entries and byte lists.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QPair>

#include "LinkContext.h"
#include "PanelState.h"
#include "Recorders.h"

using Entry = QPair<QString, QString>;

class StampedSender : public MessageSender {
public:
    StampedSender() { clock.start(); }
    void SendToSwitcher(const QByteArray& message) override {
        sent.append(message);
        at.append(clock.elapsed());
    }
    QElapsedTimer clock;
    QList<QByteArray> sent;
    QList<qint64> at;  // ms since the harness was made
};

struct LinkHarness {
    PanelState state;
    RecordingView view;
    RecordingLog log;
    StampedSender sender;
    LinkContext ctx{state, view, log, sender};
};

// "e3 01ff" -> {e3, 01 ff}: hex strings, one per message.
inline QList<QByteArray> Hexes(const char* list) {
    QList<QByteArray> out;
    for (const QByteArray& h : QByteArray(list).split(' ')) {
        if (!h.isEmpty()) out.append(QByteArray::fromHex(h));
    }
    return out;
}
