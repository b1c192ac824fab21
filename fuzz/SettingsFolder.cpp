// Reading and writing the fuzzed settings file, and the checks on the result.
#include "SettingsFolder.h"

#include <QFile>
#include <limits>

#include "FuzzCheck.h"
#include "SettingsFile.h"

void SettingsFolder::put(const QByteArray& fileBytes) const {
    QFile file(appPath() + QStringLiteral("Slider.ini"));
    require(file.open(QIODevice::WriteOnly) && file.write(fileBytes) == fileBytes.size(),
            "the fuzzer can write its settings file");
}

SettingsRead SettingsFolder::read() const {
    SettingsRead read;
    read.state.AppPath = appPath();
    SettingsFile(read.state, read.log).ReadIniFile();
    return read;
}

bool SettingsFolder::write(PanelState& state) const {
    RecordingLog log;
    state.AppPath = appPath();
    SettingsFile(state, log).WriteIniFile();
    return log.entries.isEmpty();
}

QString SettingsFolder::appPath() const {
    require(m_dir.isValid(), "the fuzzer has a folder of its own");
    return m_dir.path() + QLatin1Char('/');
}

void requireSettingsInRange(const SettingsRead& read) {
    const PanelState& s = read.state;
    const size_t faders = static_cast<size_t>(s.FaderCount);
    require(s.FaderCount >= 1 && s.FaderCount <= PanelState::MaxFaders, "1 to 20 faders");
    require(s.Chan.size() == faders && s.Link.size() == faders, "a channel and link per fader");
    require(s.GainStage <= GainStage::DeviceId, "gain stage at most 20");
    require(s.IPPort >= 1, "a positive port");
    require(!s.IPAddress.isEmpty() && s.IPAddress.size() <= 25, "an address of 1 to 25 characters");
    for (size_t i = 0; i < faders; ++i) {
        require(s.Chan[i] >= 0, "no negative channel");
        require(s.Link[i] <= 1, "a link flag of at most 1");
    }
    require(read.log.entries.size() <= 1, "a read logs at most one failure");
}

namespace {

// Outside Device ID mode the file numbers channels from 1, so the highest
// 16-bit channel (reachable only from Device ID mode) comes back one lower.
int16_t asFileHoldsIt(int16_t channel, int16_t gainStage) {
    const bool fromOne = gainStage != GainStage::DeviceId;
    return fromOne && channel == std::numeric_limits<int16_t>::max() ? channel - 1 : channel;
}

}  // namespace

void requireSameSettings(const PanelState& a, const PanelState& b) {
    require(a.GainStage == b.GainStage && a.FaderCount == b.FaderCount, "same stage and count");
    require(a.Link == b.Link && a.Chan.size() == b.Chan.size(), "same links");
    for (size_t i = 0; i < a.Chan.size(); ++i) {
        require(asFileHoldsIt(a.Chan[i], a.GainStage) == b.Chan[i], "same channels");
    }
    require(a.IPAddress == b.IPAddress && a.IPPort == b.IPPort, "same address and port");
}
