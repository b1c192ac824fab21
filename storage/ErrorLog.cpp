// Appends failure reports to "Errorlog.txt", creating it with its banner when
// it is missing. The log is the last resort for reporting, so nothing here may
// throw or report into itself more than once.
#include "ErrorLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTimer>
#include <utility>

#include "RotatingFile.h"

namespace {

const QString FileName = QStringLiteral("Errorlog.txt");
const QString OldFileName = QStringLiteral("Errorlog.old.txt");
const QString LineEnd = QStringLiteral("\r\n");
constexpr int DateTimeWidth = 24;
constexpr int DescriptionColumn = 60;  // characters before the description

QStringList bannerLines() {
    return {
        QStringLiteral("             T A V R E L"),
        QString(),
        QStringLiteral("                   1 Studio Lane"),
        QStringLiteral("                   Springfield, ST 00000"),
        QStringLiteral("                   Tel. 000 000 0000   www.example.com"),
        QString(),
        QString(),
        QStringLiteral("Tavrel Error Logfile"),
        QString(),
        QStringLiteral(" DATE     TIME           LOCATION                           MESSAGE "
                       "DESCRIPTION"),
        QString(80, QLatin1Char('-')),
    };
}

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// The long time formats end in a time-zone token ("h:mm:ss AP t") that would
// push the entry past its 24 columns; drop each run of 't' outside quotes,
// with the blanks around it, keeping one blank when text stands on both sides.
QString withoutTimeZone(const QString& format) {
    QString result;
    bool quoted = false;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted || c != QLatin1Char('t')) {
            result.append(c);
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('t')) ++i;
        const bool textBefore = !result.trimmed().isEmpty();
        while (!result.isEmpty() && isBlank(result.back())) result.chop(1);
        while (i + 1 < format.size() && isBlank(format.at(i + 1))) ++i;
        const bool textAfter = i + 1 < format.size();
        if (textBefore && textAfter) result.append(QLatin1Char(' '));
    }
    return result;
}

bool writeLines(QFile& file, const QStringList& lines) {
    for (const QString& line : lines) {
        const QByteArray bytes = (line + LineEnd).toUtf8();
        if (file.write(bytes) != bytes.size()) return false;
    }
    return file.flush();
}

// Clears the creation mark however CreateErrorLog leaves.
class CreationMark {
public:
    explicit CreationMark(bool& mark) : m_mark(mark) { m_mark = true; }
    ~CreationMark() { m_mark = false; }
    CreationMark(const CreationMark&) = delete;
    CreationMark& operator=(const CreationMark&) = delete;

private:
    bool& m_mark;
};

}  // namespace

ErrorLog::ErrorLog(QString folder, Clock clock, const QLocale& locale, Limits limits)
    : m_folder(std::move(folder)),
      m_clock(std::move(clock)),
      m_locale(locale),
      m_limits(limits),
      m_gate(limits.bursts) {}

ErrorLog::~ErrorLog() {
    try {
        const QDateTime now = m_clock();
        writeSummaries(m_gate.dueSummaries(now, true), now);
    } catch (...) {
        // nothing left to report to
    }
}

QString ErrorLog::filePath() const { return m_folder + FileName; }

QString ErrorLog::oldFilePath() const { return m_folder + OldFileName; }

QString ErrorLog::dateTimeText(const QDateTime& when) const {
    const QString date = m_locale.toString(when.date(), QLocale::ShortFormat);
    const QString time =
        m_locale.toString(when.time(), withoutTimeZone(m_locale.timeFormat(QLocale::LongFormat)));
    return date + QLatin1Char(' ') + time;
}

QString ErrorLog::formatEntry(const QDateTime& when, const QString& description,
                              const QString& location) const {
    QString line = dateTimeText(when).leftJustified(DateTimeWidth);
    line.append(location);
    line = line.leftJustified(DescriptionColumn);
    line.append(description);
    return line;
}

void ErrorLog::LogError(const QString& description, const QString& location) {
    try {
        // Stamped before the file is touched, so creating it does not delay the time.
        const QDateTime now = m_clock();
        writeSummaries(m_gate.dueSummaries(now), now);
        if (!m_gate.admit(location, description, now)) {
            watchForQuiet();
            return;
        }
        writeEntry(formatEntry(now, description, location));
    } catch (...) {
        // The caller carries on as if the entry had been written.
    }
}

void ErrorLog::sumUpEndedBursts() {
    try {
        const QDateTime now = m_clock();
        writeSummaries(m_gate.dueSummaries(now), now);
        if (m_quietTimer && !m_gate.holding()) m_quietTimer->stop();
    } catch (...) {
        // as LogError
    }
}

// Location as held back; the description of the last one held, with how
// many were held and when the last came.
void ErrorLog::writeSummaries(const std::vector<EntryGate::Summary>& summaries,
                              const QDateTime& now) {
    for (const EntryGate::Summary& summary : summaries) {
        const QString description = QStringLiteral("%1 (%2 more like this until %3)")
                                        .arg(summary.lastDescription)
                                        .arg(summary.held)
                                        .arg(dateTimeText(summary.lastAt));
        writeEntry(formatEntry(now, description, summary.location));
    }
}

// Without an event loop (a tool, a test) the summaries wait for the next
// entry or the end; with one, they come when the burst has gone quiet.
void ErrorLog::watchForQuiet() {
    if (!QCoreApplication::instance()) return;
    if (!m_quietTimer) {
        m_quietTimer = std::make_unique<QTimer>();
        m_quietTimer->setInterval(static_cast<int>(m_limits.bursts.quietMs));
        QObject::connect(m_quietTimer.get(), &QTimer::timeout, m_quietTimer.get(),
                         [this] { sumUpEndedBursts(); });
    }
    if (!m_quietTimer->isActive()) m_quietTimer->start();
}

void ErrorLog::writeEntry(const QString& line) {
    if (!m_creating && !makeRoom()) return;
    if (!QFile::exists(filePath())) {
        // A report raised while the file is being created must not start a
        // second creation; and a log that cannot be created takes nothing.
        if (m_creating || !CreateErrorLog()) return;
    }
    appendLine(line);
}

// A full log moves aside, replacing the older one, so the two together stay
// bounded; when it cannot move, the entry is dropped rather than let grow.
bool ErrorLog::makeRoom() const {
    return RotatingFile(filePath(), oldFilePath(), m_limits.rotateBytes).makeRoom();
}

bool ErrorLog::CreateErrorLog() {
    const CreationMark mark(m_creating);
    bool bannerWritten = false;
    {
        QFile file(filePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        bannerWritten = writeLines(file, bannerLines());
    }
    // The file exists now, so the report is appended rather than creating again.
    if (!bannerWritten) {
        LogError(QStringLiteral("Error creating Error file"), QStringLiteral("File Error"));
    }
    return true;
}

bool ErrorLog::appendLine(const QString& line) const {
    return RotatingFile(filePath(), oldFilePath(), m_limits.rotateBytes).append({line});
}
