// Fader moves, the 0db button, Home/End and the deferred redraw.
#include "FaderGainControl.h"

#include <QCheckBox>
#include <QLabel>
#include <cstdlib>
#include <stdexcept>

#include "ErrorSink.h"
#include "FaderBank.h"
#include "FaderSlider.h"
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
    connect(&bank_, &FaderBank::FaderMoved, this, &FaderGainControl::FaderMoved);
    connect(&bank_, &FaderBank::FaderKeyReleased, this, &FaderGainControl::FaderHomeEnd);
    connect(&bank_, &FaderBank::ZeroClicked, this, &FaderGainControl::cmdZerodb_Click);
    tmrGain_.start(StartUpInterval);
}

void FaderGainControl::FaderMoved(int fader) {
    if (state_.UpdatingFaders) return;
    try {
        const int16_t stored = StoredGain(state_, fader);
        const FaderStrip& strip = bank_.Strip(fader);
        const auto code = static_cast<int16_t>(std::abs(strip.sliGain()->sliderPosition()));
        if (code == stored) return;
        strip.lblGain()->setText(GainReadoutText(code));
        SendGain(fader, code);
        tmrGain_.start(AfterMoveInterval);
    } catch (const std::exception&) {
        log_.LogError(QStringLiteral("Error Sending gain change"),
                      QStringLiteral("Connection Error"));
    }
}

// By the time the key comes up, Home or End has already put the fader at an
// end of its travel; the move itself raised no notification.
void FaderGainControl::FaderHomeEnd(int fader, int key, Qt::KeyboardModifiers /*shift*/) {
    if (key == Qt::Key_Home || key == Qt::Key_End) FaderMoved(fader);
}

void FaderGainControl::cmdZerodb_Click(int fader) {
    if (fader < 0 || fader >= bank_.StripCount()) return;
    FaderSlider* slider = bank_.Strip(fader).sliGain();
    slider->setValue(FaderSlider::ZeroDbPosition);
    FaderMoved(fader);
    slider->setFocus(Qt::OtherFocusReason);
}

void FaderGainControl::UpdateGain() {
    if (state_.GainStage == GainStage::DeviceId) return;
    state_.UpdatingFaders = true;
    try {
        for (int i = 0; i < state_.FaderCount; ++i) {
            const int16_t code = StoredGain(state_, i);
            const FaderStrip& strip = bank_.Strip(i);
            // Codes outside the travel (0 for a channel never reported) are
            // clamped by the fader; the read-out still shows the code.
            strip.sliGain()->setValue(-code);
            strip.lblGain()->setText(GainReadoutText(code));
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
    if (bank_.Strip(fader).chkStereo()->isChecked()) {
        link_.SendStereoGainMessage(state_.GainStage, code, channel, 2);
    } else {
        link_.SendGainMessage(state_.GainStage, code, channel, SwitcherLinkPort::NoExtra);
    }
}
