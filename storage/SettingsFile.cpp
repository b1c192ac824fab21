// Reading and writing "Slider.ini". The file is read whole, then entry by
// entry; it is written to a temporary file that replaces the old one only
// once complete, so a failed write never costs the operator the settings.
#include "SettingsFile.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <limits>
#include <optional>

#include "ErrorSink.h"
#include "IniEntries.h"
#include "IniKeys.h"
#include "PanelState.h"

namespace {

const QString FileName = QStringLiteral("Slider.ini");
const QString FileError = QStringLiteral("File Error");
const QString ReadFailure = QStringLiteral("Error Reading Vorbin.ini File");
const QString WriteFailure = QStringLiteral("Error Reading ini File");

// The file holds a few hundred bytes; anything this large is not a settings
// file and is refused rather than held in memory.
constexpr qint64 MaxFileBytes = 1024 * 1024;

std::optional<QString> ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (file.size() > MaxFileBytes) return std::nullopt;
    // The size of a special file can lie, so the read itself is capped too.
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileBytes) {
        return std::nullopt;
    }
    return QString::fromUtf8(bytes);
}

QString Line(const QString& key, long long value) {
    return key + QString::number(value) + QStringLiteral("\r\n");
}

// Outside Device ID mode the file numbers channels from 1. A channel taken in
// Device ID mode can be the highest 16-bit number, one more than the file can
// then hold: it is written as the highest number the reader takes, or reading
// would stop at that line and lose every setting after it.
int FileChannel(int16_t channel, int offset) {
    return std::min<int>(channel + offset, std::numeric_limits<int16_t>::max());
}

QString IniFileText(const PanelState& state) {
    QString text = QStringLiteral("[CONFIGURATION]\r\n");
    text += Line(QStringLiteral("Gain Stage="), state.GainStage);
    text += Line(QStringLiteral("Fader Count="), state.FaderCount);
    const int offset = state.GainStage == GainStage::DeviceId ? 0 : 1;
    for (int fader = 0; fader < state.FaderCount; ++fader) {
        const QString number = QString::number(fader + 1);
        const size_t index = static_cast<size_t>(fader);
        text += Line(QStringLiteral("Chan ") + number + QLatin1Char('='),
                     FileChannel(state.Chan.at(index), offset));
        text += Line(QStringLiteral("Link ") + number + QLatin1Char('='), state.Link.at(index));
    }
    text += QStringLiteral("IP Address=") + state.IPAddress + QStringLiteral("\r\n");
    text += Line(QStringLiteral("IP Port="), state.IPPort);
    return text;
}

bool ReplaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

SettingsFile::SettingsFile(PanelState& state, ErrorSink& log) : state_(state), log_(log) {}

QString SettingsFile::FilePath() const { return state_.AppPath + FileName; }

void SettingsFile::ReadIniFile() {
    try {
        const QString path = FilePath();
        if (!QFile::exists(path)) return;
        const std::optional<QString> text = ReadWholeFile(path);
        if (!text) {
            log_.LogError(ReadFailure, FileError);
            return;
        }
        IniEntries entries(*text);
        while (const std::optional<QString> entry = entries.Next()) {
            // What was stored before a bad entry stays; nothing after it is read.
            if (!ApplyIniEntry(state_, *entry)) {
                log_.LogError(ReadFailure, FileError);
                return;
            }
        }
    } catch (...) {
        log_.LogError(ReadFailure, FileError);
    }
}

void SettingsFile::WriteIniFile() {
    try {
        if (!ReplaceFile(FilePath(), IniFileText(state_).toUtf8())) {
            log_.LogError(WriteFailure, FileError);
        }
    } catch (...) {
        // A fader without a channel or stereo entry in the state: nothing is
        // written, and the old file stays.
        log_.LogError(WriteFailure, FileError);
    }
}
