// A text file that only grows, kept within a bound on disk: once it reaches
// its limit it is moved aside to an older generation (replacing the one
// before), so the two together stay within about twice the limit. Each
// append opens and closes the file, so it can be read, copied or deleted
// while the panel runs.
#pragma once

#include <QString>
#include <QStringList>

class RotatingFile {
public:
    RotatingFile(QString path, QString oldPath, qint64 limitBytes);

    const QString& path() const { return m_path; }
    const QString& oldPath() const { return m_oldPath; }

    // Moves a full file aside. False when it is full and cannot move, so the
    // caller drops what it would write rather than let the file grow.
    bool makeRoom() const;
    // Appends the lines, each ended by CR LF, creating the file if needed.
    bool append(const QStringList& lines) const;

private:
    QString m_path;
    QString m_oldPath;
    qint64 m_limitBytes;
};
