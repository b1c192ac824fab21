// What the remote control may ask of the panel. The OSC code sees the panel
// only through this, so it builds, fuzzes and tests without a window.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "RemotePicture.h"

class RemoteTarget {
public:
    virtual ~RemoteTarget() = default;
    virtual int faderCount() const = 0;
    // The code fader i shows now.
    virtual int16_t faderCode(int fader) const = 0;
    virtual RemotePicture picture() const = 0;
    // A move of the operator made from a controller named sender
    // ("192.168.1.20:53211"): held to the travel and the ceiling, ignored by
    // a locked fader.
    virtual void moveFader(int fader, int code, const QString& sender) = 0;
    // Empty when the recall started, else why not.
    virtual QString recallSnapshot(const QString& name, std::optional<double> fadeSeconds,
                                   const QString& sender) = 0;
};
