// Settings files are small and read and written whole. Reading is capped, so
// a damaged or hostile file cannot eat memory; writing goes through a
// temporary file renamed into place, so a failed write, a full disk
// included, leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The file's text (UTF-8, a byte order mark dropped), or nothing when it
// cannot be read or holds more than maxBytes.
std::optional<QString> readWholeFile(const QString& path, qint64 maxBytes);

bool replaceFile(const QString& path, const QByteArray& bytes);
