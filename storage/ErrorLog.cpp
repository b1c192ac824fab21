// Appends failure reports to "Errorlog.txt", creating it with its banner when
// it is missing. The log is the last resort for reporting, so nothing here may
// throw or report into itself more than once.
#include "ErrorLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>
#include <utility>

namespace {

const QString FileName = QStringLiteral("Errorlog.txt");
const QString OldFileName = QStringLiteral("Errorlog.old.txt");
const QString LineEnd = QStringLiteral("\r\n");
constexpr int DateTimeWidth = 24;
constexpr int DescriptionColumn = 60;  // characters before the description

QStringList BannerLines() {
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

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// The long time formats end in a time-zone token ("h:mm:ss AP t") that would
// push the entry past its 24 columns; drop each run of 't' outside quotes,
// with the blanks around it, keeping one blank when text stands on both sides.
QString WithoutTimeZone(const QString& format) {
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
        while (!result.isEmpty() && IsBlank(result.back())) result.chop(1);
        while (i + 1 < format.size() && IsBlank(format.at(i + 1))) ++i;
        const bool textAfter = i + 1 < format.size();
        if (textBefore && textAfter) result.append(QLatin1Char(' '));
    }
    return result;
}

bool WriteLines(QFile& file, const QStringList& lines) {
    for (const QString& line : lines) {
        const QByteArray bytes = (line + LineEnd).toUtf8();
        if (file.write(bytes) != bytes.size()) return false;
    }
    return file.flush();
}

// Clears the creation mark however CreateErrorLog leaves.
class CreationMark {
public:
    explicit CreationMark(bool& mark) : mark_(mark) { mark_ = true; }
    ~CreationMark() { mark_ = false; }
    CreationMark(const CreationMark&) = delete;
    CreationMark& operator=(const CreationMark&) = delete;

private:
    bool& mark_;
};

}  // namespace

ErrorLog::ErrorLog(QString folder, Clock clock, QLocale locale, Limits limits)
    : folder_(std::move(folder)),
      clock_(std::move(clock)),
      locale_(std::move(locale)),
      limits_(limits),
      gate_(limits.bursts) {}

ErrorLog::~ErrorLog() {
    try {
        const QDateTime now = clock_();
        WriteSummaries(gate_.DueSummaries(now, true), now);
    } catch (...) {
        // nothing left to report to
    }
}

QString ErrorLog::FilePath() const { return folder_ + FileName; }

QString ErrorLog::OldFilePath() const { return folder_ + OldFileName; }

QString ErrorLog::DateTimeText(const QDateTime& when) const {
    const QString date = locale_.toString(when.date(), QLocale::ShortFormat);
    const QString time =
        locale_.toString(when.time(), WithoutTimeZone(locale_.timeFormat(QLocale::LongFormat)));
    return date + QLatin1Char(' ') + time;
}

QString ErrorLog::FormatEntry(const QDateTime& when, const QString& description,
                              const QString& location) const {
    QString line = DateTimeText(when).leftJustified(DateTimeWidth);
    line.append(location);
    line = line.leftJustified(DescriptionColumn);
    line.append(description);
    return line;
}

void ErrorLog::LogError(const QString& description, const QString& location) {
    try {
        // Stamped before the file is touched, so creating it does not delay the time.
        const QDateTime now = clock_();
        WriteSummaries(gate_.DueSummaries(now), now);
        if (!gate_.Admit(location, description, now)) {
            WatchForQuiet();
            return;
        }
        WriteEntry(FormatEntry(now, description, location));
    } catch (...) {
        // The caller carries on as if the entry had been written.
    }
}

void ErrorLog::SumUpEndedBursts() {
    try {
        const QDateTime now = clock_();
        WriteSummaries(gate_.DueSummaries(now), now);
        if (quietTimer_ && !gate_.Holding()) quietTimer_->stop();
    } catch (...) {
        // as LogError
    }
}

// Location as held back; the description of the last one held, with how
// many were held and when the last came.
void ErrorLog::WriteSummaries(const std::vector<EntryGate::Summary>& summaries,
                              const QDateTime& now) {
    for (const EntryGate::Summary& summary : summaries) {
        const QString description = QStringLiteral("%1 (%2 more like this until %3)")
                                        .arg(summary.lastDescription)
                                        .arg(summary.held)
                                        .arg(DateTimeText(summary.lastAt));
        WriteEntry(FormatEntry(now, description, summary.location));
    }
}

// Without an event loop (a tool, a test) the summaries wait for the next
// entry or the end; with one, they come when the burst has gone quiet.
void ErrorLog::WatchForQuiet() {
    if (!QCoreApplication::instance()) return;
    if (!quietTimer_) {
        quietTimer_ = std::make_unique<QTimer>();
        quietTimer_->setInterval(static_cast<int>(limits_.bursts.quietMs));
        QObject::connect(quietTimer_.get(), &QTimer::timeout, quietTimer_.get(),
                         [this] { SumUpEndedBursts(); });
    }
    if (!quietTimer_->isActive()) quietTimer_->start();
}

void ErrorLog::WriteEntry(const QString& line) {
    if (!creating_ && !MakeRoom()) return;
    if (!QFile::exists(FilePath())) {
        // A report raised while the file is being created must not start a
        // second creation; and a log that cannot be created takes nothing.
        if (creating_ || !CreateErrorLog()) return;
    }
    AppendLine(line);
}

// A full log moves aside, replacing the older one, so the two together stay
// bounded; when it cannot move, the entry is dropped rather than let grow.
bool ErrorLog::MakeRoom() {
    const QFileInfo current(FilePath());
    if (!current.exists() || current.size() < limits_.rotateBytes) return true;
    if (QFile::exists(OldFilePath()) && !QFile::remove(OldFilePath())) return false;
    return QFile::rename(FilePath(), OldFilePath());
}

bool ErrorLog::CreateErrorLog() {
    const CreationMark mark(creating_);
    bool bannerWritten = false;
    {
        QFile file(FilePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        bannerWritten = WriteLines(file, BannerLines());
    }
    // The file exists now, so the report is appended rather than creating again.
    if (!bannerWritten) {
        LogError(QStringLiteral("Error creating Error file"), QStringLiteral("File Error"));
    }
    return true;
}

bool ErrorLog::AppendLine(const QString& line) {
    QFile file(FilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const bool written = WriteLines(file, {line});
    file.close();
    return written;
}
