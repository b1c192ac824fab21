// "Operator.log", beside the settings' neighbour "Errorlog.txt": what the
// operator did and what became of it, one line per gesture and per change
// of the link's state, each stamped with the local date and time to the
// millisecond. Kept within a few MB by moving a full file aside to
// "Operator.old.log".
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

#include "RotatingFile.h"

class OperatorJournal {
public:
    using Clock = std::function<QDateTime()>;
    static constexpr qint64 DefaultLimitBytes = qint64{2} * 1024 * 1024;

    // folder ends in a separator. The clock and the limit are for tests.
    explicit OperatorJournal(const QString& folder, Clock clock = &QDateTime::currentDateTime,
                             qint64 limitBytes = DefaultLimitBytes);

    // One line: the time stamp, two blanks, the text. A journal that cannot
    // be written loses the line; the panel carries on.
    void append(const QString& text);

    QString filePath() const { return m_file.path(); }
    QString oldFilePath() const { return m_file.oldPath(); }

private:
    RotatingFile m_file;
    Clock m_clock;
};
