// The real panel as the operator has it (the tests' LivePanel: the main
// window with 20 faders at gain stage 15 and its real link over TCP),
// connected to a SwitcherThread.
#pragma once

#include "LivePanel.h"
#include "SwitcherThread.h"

class PanelOnSwitcher {
public:
    static constexpr int Faders = 20;

    // Waits for the connection and plays the switcher's opening: its type
    // request, answered by the panel's type and information request. False
    // when that did not happen within a few seconds.
    bool Handshake();

    MainWindow& Window() { return *panel_.window; }
    PanelState& State() { return panel_.State(); }
    SwitcherThread& Switcher() { return switcher_; }
    long LoggedFaults() const { return static_cast<long>(panel_.log.entries.size()); }

private:
    // In this order, so the window and its link go first.
    SwitcherThread switcher_;
    LivePanel panel_{switcher_.Port(), GainStage::DspOutput, Faders};
};
