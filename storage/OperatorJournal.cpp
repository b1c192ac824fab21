#include "OperatorJournal.h"

#include <utility>

OperatorJournal::OperatorJournal(const QString& folder, Clock clock, qint64 limitBytes)
    : m_file(folder + QStringLiteral("Operator.log"), folder + QStringLiteral("Operator.old.log"),
             limitBytes),
      m_clock(std::move(clock)) {}

void OperatorJournal::append(const QString& text) {
    try {
        const QString stamp = m_clock().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
        // Line breaks in a channel name would split the line.
        QString line = stamp + QStringLiteral("  ") + text;
        line.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (m_file.makeRoom()) m_file.append({line});
    } catch (...) {
        // The journal is a record, never a reason to stop.
    }
}
