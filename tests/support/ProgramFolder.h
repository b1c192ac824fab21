// A program folder for a panel under test: whole-file reads and writes, and
// a "Slider.ini" that points the panel at a switcher on the loopback address.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Faders 1..links.size() on the channels the file numbers 1, 2, ..., with the
// given Stereo settings, written as the panel itself writes them.
inline QByteArray settingsText(quint16 port, int stage, const QList<int>& links) {
    QByteArray text = "[CONFIGURATION]\r\nGain Stage=" + QByteArray::number(stage) +
                      "\r\nFader Count=" + QByteArray::number(links.size()) + "\r\n";
    for (int n = 1; n <= links.size(); ++n) {
        const QByteArray fader = QByteArray::number(n);
        text += "Chan " + fader + "=" + fader + "\r\nLink " + fader + "=" +
                QByteArray::number(links[n - 1]) + "\r\n";
    }
    return text + "IP Address=127.0.0.1\r\nIP Port=" + QByteArray::number(port) + "\r\n";
}
