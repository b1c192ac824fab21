// "Errorlog.txt" in the program's folder: a banner when the file is created,
// then one line per failure, appended and closed at once so the file can be
// read, copied or deleted while the panel runs.
//
// Whatever a peer sends, the log stays bounded: bursts of failures at one
// location are summed up (see EntryGate), and a file that reaches its size
// limit becomes "Errorlog.old.txt" (replacing the one before) while a new
// "Errorlog.txt" starts with its banner.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "EntryGate.h"
#include "ErrorSink.h"

class QTimer;

struct ErrorLogLimits {
    qint64 rotateBytes = qint64{20} * 1024 * 1024;  // two files: 40 MB at most
    BurstLimits bursts;
};

class ErrorLog : public ErrorSink {
public:
    using Clock = std::function<QDateTime()>;
    using Limits = ErrorLogLimits;

    // folder ends in a separator (AppPath). The clock, locale and limits are
    // for tests.
    explicit ErrorLog(QString folder, Clock clock = &QDateTime::currentDateTime,
                      const QLocale& locale = QLocale::system(), Limits limits = {});
    // Sums up the bursts still under way.
    ~ErrorLog() override;
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

    void LogError(const QString& description, const QString& location) override;
    // Writes the summaries of bursts that have ended by now. A timer does
    // this while a burst is held back; tests with their own clock call it.
    void sumUpEndedBursts();

    QString filePath() const;
    QString oldFilePath() const;
    // The local date and time as the log's first column shows it.
    QString dateTimeText(const QDateTime& when) const;
    // One entry line, without its line end.
    QString formatEntry(const QDateTime& when, const QString& description,
                        const QString& location) const;

private:
    void writeEntry(const QString& line);
    void writeSummaries(const std::vector<EntryGate::Summary>& summaries, const QDateTime& now);
    void watchForQuiet();
    bool makeRoom() const;
    bool CreateErrorLog();
    bool appendLine(const QString& line) const;

    QString m_folder;
    Clock m_clock;
    QLocale m_locale;
    Limits m_limits;
    EntryGate m_gate;
    std::unique_ptr<QTimer> m_quietTimer;  // runs only while a burst is held back
    bool m_creating = false;               // set while the banner is written
};
