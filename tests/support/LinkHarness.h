// A panel state with recording stand-ins around it, ready to hand to a message
// decoder or sender, and the shorthand the codec tests share.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QPair>

#include "LinkContext.h"
#include "PanelState.h"
#include "Recorders.h"

using Entry = QPair<QString, QString>;  // description, location
using LogEntries = QList<Entry>;

// Keeps each message with the time it went out, in ms since it was made.
class StampedSender : public MessageSender {
public:
    StampedSender() { clock.start(); }
    void SendToSwitcher(const QByteArray& message) override {
        sent.append(message);
        at.append(clock.elapsed());
    }
    QElapsedTimer clock;
    QList<QByteArray> sent;
    QList<qint64> at;
};

struct LinkHarness {
    PanelState state;
    RecordingView view;
    RecordingLog log;
    StampedSender sender;
    LinkContext ctx{state, view, log, sender};
};

// Bytes as the vectors are written down: "FC 0A 04" (blanks are skipped).
inline QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

// One message per word: "e3 01ff" is {e3, 01 ff}.
inline QList<QByteArray> hexes(const char* list) {
    QList<QByteArray> out;
    for (const QByteArray& h : QByteArray(list).split(' ')) {
        if (!h.isEmpty()) out.append(QByteArray::fromHex(h));
    }
    return out;
}

template <typename Container>
QList<typename Container::value_type> asList(const Container& table) {
    return QList<typename Container::value_type>(table.begin(), table.end());
}
