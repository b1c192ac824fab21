// Reading and writing "Slider.ini". The file is read whole, then entry by
// entry; it is written to a temporary file that replaces the old one only
// once complete, so a failed write never costs the operator the settings.
#include "SettingsFile.h"

#include <QFile>
#include <algorithm>
#include <limits>
#include <optional>

#include "ErrorSink.h"
#include "IniEntries.h"
#include "IniKeys.h"
#include "PanelState.h"
#include "WholeFile.h"

namespace {

const QString FileName = QStringLiteral("Slider.ini");
const QString FileError = QStringLiteral("File Error");
const QString ReadFailure = QStringLiteral("Error Reading Vorbin.ini File");
const QString WriteFailure = QStringLiteral("Error Reading ini File");

// The file holds a few hundred bytes; anything this large is not a settings
// file and is refused rather than held in memory.
constexpr qint64 MaxFileBytes = qint64{1024} * 1024;

QString line(const QString& key, long long value) {
    return key + QString::number(value) + QStringLiteral("\r\n");
}

// Outside Device ID mode the file numbers channels from 1. A channel taken in
// Device ID mode can be the highest 16-bit number, one more than the file can
// then hold: it is written as the highest number the reader takes, or reading
// would stop at that line and lose every setting after it.
int fileChannel(int16_t channel, int offset) {
    return std::min<int>(channel + offset, std::numeric_limits<int16_t>::max());
}

QString iniFileText(const PanelState& state) {
    QString text = QStringLiteral("[CONFIGURATION]\r\n");
    text += line(QStringLiteral("Gain Stage="), state.GainStage);
    text += line(QStringLiteral("Fader Count="), state.FaderCount);
    const int offset = state.GainStage == GainStage::DeviceId ? 0 : 1;
    for (int fader = 0; fader < state.FaderCount; ++fader) {
        const QString number = QString::number(fader + 1);
        const size_t index = static_cast<size_t>(fader);
        text += line(QStringLiteral("Chan ") + number + QLatin1Char('='),
                     fileChannel(state.Chan.at(index), offset));
        text += line(QStringLiteral("Link ") + number + QLatin1Char('='), state.Link.at(index));
    }
    text += QStringLiteral("IP Address=") + state.IPAddress + QStringLiteral("\r\n");
    text += line(QStringLiteral("IP Port="), state.IPPort);
    return text;
}

}  // namespace

SettingsFile::SettingsFile(PanelState& state, ErrorSink& log) : m_state(state), m_log(log) {}

QString SettingsFile::filePath() const { return m_state.AppPath + FileName; }

void SettingsFile::ReadIniFile() {
    try {
        const QString path = filePath();
        if (!QFile::exists(path)) return;
        const std::optional<QString> text = readWholeFile(path, MaxFileBytes);
        if (!text) {
            m_log.LogError(ReadFailure, FileError);
            return;
        }
        IniEntries entries(*text);
        while (const std::optional<QString> entry = entries.next()) {
            // What was stored before a bad entry stays; nothing after it is read.
            if (!applyIniEntry(m_state, *entry)) {
                m_log.LogError(ReadFailure, FileError);
                return;
            }
        }
    } catch (...) {
        m_log.LogError(ReadFailure, FileError);
    }
}

void SettingsFile::WriteIniFile() {
    try {
        if (!replaceFile(filePath(), iniFileText(m_state).toUtf8())) {
            m_log.LogError(WriteFailure, FileError);
        }
    } catch (...) {
        // A fader without a channel or stereo entry in the state: nothing is
        // written, and the old file stays.
        m_log.LogError(WriteFailure, FileError);
    }
}
