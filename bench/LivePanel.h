// The real panel as the operator has it: the main window with 20 faders at
// gain stage 15 and its real link over TCP, connected to a SwitcherThread.
#pragma once

#include <QTemporaryDir>
#include <memory>

#include "MainWindow.h"
#include "NullPanel.h"
#include "SwitcherThread.h"

class LivePanel {
public:
    static constexpr int Faders = 20;

    LivePanel();

    // Waits for the connection and plays the switcher's opening: its type
    // request, answered by the panel's type and information request. False
    // when that did not happen within a few seconds.
    bool Handshake();

    MainWindow& Window() { return *window_; }
    PanelState& State() { return window_->State(); }
    SwitcherThread& Switcher() { return switcher_; }
    long LoggedFaults() const { return log_.entries; }

private:
    // In this order, so the window and its link go first.
    QTemporaryDir dir_;
    CountingLog log_;
    SwitcherThread switcher_;
    std::unique_ptr<MainWindow> window_;
};
