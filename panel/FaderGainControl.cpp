// Fader moves, the 0db button, Home/End and the deferred redraw.
#include "FaderGainControl.h"

#include <stdexcept>

#include "ErrorSink.h"
#include "FaderBank.h"
#include "FaderStrip.h"
#include "GainReadout.h"
#include "PanelState.h"
#include "SwitcherLinkPort.h"
#include "TableEntry.h"

FaderGainControl::FaderGainControl(PanelState& state, FaderBank& bank, SwitcherLinkPort& link,
                                   ErrorSink& log, QObject* parent)
    : QObject(parent), state_(state), bank_(bank), link_(link), log_(log), tmrGain_(this) {
    tmrGain_.setObjectName(QStringLiteral("tmrGain"));
    connect(&tmrGain_, &QTimer::timeout, this, &FaderGainControl::tmrGain_Timer);
    for (int i = 0; i < bank_.StripCount(); ++i) Watch(i, &bank_.Strip(i));
    connect(&bank_, &FaderBank::StripAdded, this, &FaderGainControl::Watch);
    tmrGain_.start(StartUpInterval);
}

void FaderGainControl::Watch(int fader, FaderStrip* strip) {
    connect(strip, &FaderStrip::GainMoved, this,
            [this, fader](int16_t code) { FaderMoved(fader, code); });
}

void FaderGainControl::FaderMoved(int fader, int16_t code) {
    if (state_.UpdatingFaders) return;
    try {
        const int16_t stored = StoredGain(state_, fader);
        FaderStrip& strip = bank_.Strip(fader);
        if (code == stored) return;
        strip.ShowReadout(code);
        SendGain(fader, code);
        tmrGain_.start(AfterMoveInterval);
    } catch (const std::exception&) {
        log_.LogError(QStringLiteral("Error Sending gain change"),
                      QStringLiteral("Connection Error"));
    }
}

void FaderGainControl::UpdateGain() {
    if (state_.GainStage == GainStage::DeviceId) return;
    state_.UpdatingFaders = true;
    try {
        for (int i = 0; i < state_.FaderCount; ++i) {
            bank_.Strip(i).ShowGain(StoredGain(state_, i));
        }
    } catch (const std::exception&) {
        log_.LogError(QStringLiteral("Error updating gain"), QStringLiteral("Display Error"));
    }
    // Cleared on the error path too, or every later fader move would be
    // ignored until some redraw happened to succeed.
    state_.UpdatingFaders = false;
}

void FaderGainControl::RequestRefresh() {
    if (tmrGain_.isActive()) {
        tmrGain_.start();
    } else {
        UpdateGain();
    }
}

void FaderGainControl::StartGainTimer() { tmrGain_.start(); }

void FaderGainControl::tmrGain_Timer() {
    UpdateGain();
    tmrGain_.stop();
    tmrGain_.setInterval(AfterTickInterval);
}

void FaderGainControl::SendGain(int fader, int16_t code) {
    const int16_t channel = EntryAt(state_.Chan, fader);
    if (bank_.Strip(fader).IsStereo()) {
        link_.SendStereoGainMessage(state_.GainStage, code, channel, 2);
    } else {
        link_.SendGainMessage(state_.GainStage, code, channel, SwitcherLinkPort::NoExtra);
    }
}
