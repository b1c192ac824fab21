#include "RotatingFile.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

RotatingFile::RotatingFile(QString path, QString oldPath, qint64 limitBytes)
    : m_path(std::move(path)), m_oldPath(std::move(oldPath)), m_limitBytes(limitBytes) {}

bool RotatingFile::makeRoom() const {
    const QFileInfo current(m_path);
    if (!current.exists() || current.size() < m_limitBytes) return true;
    if (QFile::exists(m_oldPath) && !QFile::remove(m_oldPath)) return false;
    return QFile::rename(m_path, m_oldPath);
}

bool RotatingFile::append(const QStringList& lines) const {
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    for (const QString& line : lines) {
        const QByteArray bytes = (line + QStringLiteral("\r\n")).toUtf8();
        if (file.write(bytes) != bytes.size()) return false;
    }
    return file.flush();
}
