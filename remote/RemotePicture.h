// The panel as a remote controller sees it, for its feedback.
#pragma once

#include <QString>
#include <vector>

struct RemoteFader {
    double decibels = 0;  // what the fader shows; -100 for "Off"
    QString name;
    int stereo = 0;
    int locked = 0;

    bool operator==(const RemoteFader& other) const {
        return decibels == other.decibels && name == other.name && stereo == other.stereo &&
               locked == other.locked;
    }
};

struct RemotePicture {
    std::vector<RemoteFader> faders;
    QString link;  // "not connected", "connecting", "waiting", "live", "lost"
};
