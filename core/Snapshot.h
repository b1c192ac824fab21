// A stored state of the panel's levels, to put back later: the gain stage it
// was taken at, and for each fader its channel, its Stereo setting and the
// gain the switcher last reported for it.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

struct SnapshotFader {
    int16_t channel = 0;  // as Chan holds it: 0-based, or the device ID
    bool stereo = false;
    int16_t code = 0;
};

struct Snapshot {
    QString name;
    int16_t gainStage = 0;
    std::vector<SnapshotFader> faders;
};
