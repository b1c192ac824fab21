#include "WholeFile.h"

#include <QFile>
#include <QSaveFile>

std::optional<QString> readWholeFile(const QString& path, qint64 maxBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // Reading at most a byte past the limit, rather than trusting the size,
    // also bounds a pipe or device whose size says nothing.
    const QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > maxBytes) return std::nullopt;
    return QString::fromUtf8(bytes);
}

bool replaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // Flushed here: QSaveFile commits whatever reached the disk when only its
    // own last flush fails, which on a full disk is half a file.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
