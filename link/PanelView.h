// What the switcher link may ask of the window. The protocol code sees the
// window only through this, so it builds and tests without a screen.
#pragma once

#include <QString>
#include <cstdint>

#include "LinkStatus.h"

class PanelView {
public:
    virtual ~PanelView() = default;
    // Rewrite every fader's channel label and Stereo box from the tables.
    virtual void LabelFaders() = 0;
    // Received gains were stored: redraw at once when tmrGain is idle,
    // otherwise restart tmrGain so the redraw follows the latest message.
    virtual void requestRefresh() = 0;
    // The File menu's connect item: "&Connect" or "&Disconnect".
    virtual void setConnectCaption(const QString& caption) = 0;
    // The one message box of the program: a connection that failed at once.
    virtual void showConnectFailure() = 0;
    // The link changed state (or a retry countdown moved on). Views that show
    // no link status may ignore it.
    virtual void showLinkStatus(const LinkStatus& /*status*/) {}
    // The switcher reported (and the tables now hold) a gain of this channel
    // at one of the panel's gain stages (1, 3 or 15), before requestRefresh.
    virtual void gainReported(int16_t /*stage*/, int /*channel*/) {}
};
