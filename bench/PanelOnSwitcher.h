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
    bool handshake();

    MainWindow& window() { return *m_panel.window; }
    PanelState& state() { return m_panel.state(); }
    SwitcherThread& switcher() { return m_switcher; }
    long loggedFaults() const { return static_cast<long>(m_panel.log.entries.size()); }

private:
    // In this order, so the window and its link go first.
    SwitcherThread m_switcher;
    LivePanel m_panel{m_switcher.port(), GainStage::DspOutput, Faders};
};
