// Reading and writing the fuzzed settings file, and the checks on the result.
#include "SettingsFolder.h"

#include <QFile>
#include <limits>

#include "FuzzCheck.h"
#include "SettingsFile.h"

void SettingsFolder::Put(const QByteArray& fileBytes) const {
    QFile file(AppPath() + QStringLiteral("Slider.ini"));
    Require(file.open(QIODevice::WriteOnly) && file.write(fileBytes) == fileBytes.size(),
            "the fuzzer can write its settings file");
}

SettingsRead SettingsFolder::Read() const {
    SettingsRead read;
    read.state.AppPath = AppPath();
    SettingsFile(read.state, read.log).ReadIniFile();
    return read;
}

bool SettingsFolder::Write(PanelState& state) const {
    RecordingLog log;
    state.AppPath = AppPath();
    SettingsFile(state, log).WriteIniFile();
    return log.entries.isEmpty();
}

QString SettingsFolder::AppPath() const {
    Require(dir_.isValid(), "the fuzzer has a folder of its own");
    return dir_.path() + QLatin1Char('/');
}

void RequireSettingsInRange(const SettingsRead& read) {
    const PanelState& s = read.state;
    const size_t faders = static_cast<size_t>(s.FaderCount);
    Require(s.FaderCount >= 1 && s.FaderCount <= PanelState::MaxFaders, "1 to 20 faders");
    Require(s.Chan.size() == faders && s.Link.size() == faders, "a channel and link per fader");
    Require(s.GainStage <= GainStage::DeviceId, "gain stage at most 20");
    Require(s.IPPort >= 1, "a positive port");
    Require(!s.IPAddress.isEmpty() && s.IPAddress.size() <= 25, "an address of 1 to 25 characters");
    for (size_t i = 0; i < faders; ++i) {
        Require(s.Chan[i] >= 0, "no negative channel");
        Require(s.Link[i] <= 1, "a link flag of at most 1");
    }
    Require(read.log.entries.size() <= 1, "a read logs at most one failure");
}

namespace {

// Outside Device ID mode the file numbers channels from 1, so the highest
// 16-bit channel (reachable only from Device ID mode) comes back one lower.
int16_t AsFileHoldsIt(int16_t channel, int16_t gainStage) {
    const bool fromOne = gainStage != GainStage::DeviceId;
    return fromOne && channel == std::numeric_limits<int16_t>::max() ? channel - 1 : channel;
}

}  // namespace

void RequireSameSettings(const PanelState& a, const PanelState& b) {
    Require(a.GainStage == b.GainStage && a.FaderCount == b.FaderCount, "same stage and count");
    Require(a.Link == b.Link && a.Chan.size() == b.Chan.size(), "same links");
    for (size_t i = 0; i < a.Chan.size(); ++i) {
        Require(AsFileHoldsIt(a.Chan[i], a.GainStage) == b.Chan[i], "same channels");
    }
    Require(a.IPAddress == b.IPAddress && a.IPPort == b.IPPort, "same address and port");
}
