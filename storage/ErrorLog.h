// "Errorlog.txt" in the program's folder: a banner when the file is created,
// then one line per failure, appended and closed at once so the file can be
// read, copied or deleted while the panel runs.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>

#include "ErrorSink.h"

class ErrorLog : public ErrorSink {
public:
    using Clock = std::function<QDateTime()>;

    // folder ends in a separator (AppPath). The clock and locale are for tests.
    explicit ErrorLog(QString folder, Clock clock = &QDateTime::currentDateTime,
                      QLocale locale = QLocale::system());

    void LogError(const QString& description, const QString& location) override;

    QString FilePath() const;
    // The local date and time as the log's first column shows it.
    QString DateTimeText(const QDateTime& when) const;
    // One entry line, without its line end.
    QString FormatEntry(const QDateTime& when, const QString& description,
                        const QString& location) const;

private:
    bool CreateErrorLog();
    bool AppendLine(const QString& line);

    QString folder_;
    Clock clock_;
    QLocale locale_;
    bool creating_ = false;  // set while the banner is written
};
