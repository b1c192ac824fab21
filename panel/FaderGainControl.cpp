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
    : QObject(parent), m_state(state), m_bank(bank), m_link(link), m_log(log), m_tmrGain(this) {
    m_tmrGain.setObjectName(QStringLiteral("tmrGain"));
    connect(&m_tmrGain, &QTimer::timeout, this, &FaderGainControl::tmrGain_Timer);
    m_tmrGain.start(StartUpInterval);
}

void FaderGainControl::FaderMoved(int fader, int16_t code) {
    if (m_state.UpdatingFaders) return;
    try {
        const int16_t stored = storedGain(m_state, fader);
        FaderStrip& strip = m_bank.strip(fader);
        if (code == stored) return;
        strip.showReadout(code);
        sendGain(fader, code);
        m_tmrGain.start(AfterMoveInterval);
    } catch (const std::exception&) {
        m_log.LogError(QStringLiteral("Error Sending gain change"),
                       QStringLiteral("Connection Error"));
    }
}

void FaderGainControl::UpdateGain() {
    if (m_state.GainStage == GainStage::DeviceId) return;
    m_state.UpdatingFaders = true;
    try {
        for (int i = 0; i < m_state.FaderCount; ++i) {
            m_bank.strip(i).showGain(storedGain(m_state, i));
        }
    } catch (const std::exception&) {
        m_log.LogError(QStringLiteral("Error updating gain"), QStringLiteral("Display Error"));
    }
    // Cleared on the error path too, or every later fader move would be
    // ignored until some redraw happened to succeed.
    m_state.UpdatingFaders = false;
}

void FaderGainControl::requestRefresh() {
    if (m_tmrGain.isActive()) {
        m_tmrGain.start();
    } else {
        UpdateGain();
    }
}

void FaderGainControl::startGainTimer() { m_tmrGain.start(); }

void FaderGainControl::tmrGain_Timer() {
    UpdateGain();
    m_tmrGain.stop();
    m_tmrGain.setInterval(AfterTickInterval);
}

void FaderGainControl::sendGain(int fader, int16_t code) {
    const int16_t channel = entryAt(m_state.Chan, fader);
    if (m_bank.strip(fader).isStereo()) {
        m_link.SendStereoGainMessage(m_state.GainStage, code, channel, 2);
    } else {
        m_link.SendGainMessage(m_state.GainStage, code, channel, SwitcherLinkPort::NoExtra);
    }
}
