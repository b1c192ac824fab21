// File > Setup: the gain stage, the fader count, one channel row per fader,
// and the switcher's port and address.
#pragma once

#include <QDialog>

#include <functional>

class ErrorSink;
class SwitcherLinkPort;
struct PanelState;

// What "&Ok" does beyond storing the settings.
struct SetupActions {
    std::function<void()> startGainTimer;  // redraw the faders once, soon
    std::function<void()> writeSettings;   // save "Slider.ini"
};

class SetupDialog : public QDialog {
    Q_OBJECT
public:
    SetupDialog(PanelState& state, SwitcherLinkPort& link, ErrorSink& log, SetupActions actions,
                QWidget* parent = nullptr);

private:
    PanelState& state_;
    SwitcherLinkPort& link_;
    ErrorSink& log_;
    SetupActions actions_;
};
