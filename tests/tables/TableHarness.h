// A panel state with recording stand-ins around it, ready to hand to a
// table decoder, plus the shorthand the table tests share.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include "LinkContext.h"
#include "PanelState.h"
#include "Recorders.h"

struct TableHarness {
    PanelState state;
    RecordingView view;
    RecordingLog log;
    RecordingSender sender;
    LinkContext ctx{state, view, log, sender};
};

using LogEntries = QList<QPair<QString, QString>>;

// Hex with blanks between the bytes, as the vectors are written down.
inline QByteArray Hex(const char* text) { return QByteArray::fromHex(QByteArray(text)); }

inline LogEntries OneEntry(const QString& description, const QString& location) {
    return {{description, location}};
}

template <typename Container>
QList<typename Container::value_type> AsList(const Container& table) {
    return QList<typename Container::value_type>(table.begin(), table.end());
}
