#include "OperatorMoves.h"

#include <algorithm>
#include <exception>

#include "FaderBank.h"
#include "FaderGainControl.h"
#include "FaderStrip.h"
#include "GainCode.h"
#include "GainReadout.h"
#include "PanelState.h"
#include "TableEntry.h"

namespace {

// Moves whose gesture is the move itself.
bool isSingle(MoveSource source) {
    return source == MoveSource::ZeroButton || source == MoveSource::HomeEnd ||
           source == MoveSource::ScreenReader;
}

bool isRun(MoveSource source) {
    return source == MoveSource::Keyboard || source == MoveSource::Wheel;
}

}  // namespace

OperatorMoves::OperatorMoves(PanelState& state, FaderBank& bank, FaderGainControl& gain,
                             QObject* parent)
    : QObject(parent), m_state(state), m_bank(bank), m_gain(gain) {
    m_runEnd.setSingleShot(true);
    m_runEnd.setInterval(RunGapMs);
    connect(&m_runEnd, &QTimer::timeout, this, &OperatorMoves::finishHandGesture);
    m_remoteRunEnd.setSingleShot(true);
    m_remoteRunEnd.setInterval(RunGapMs);
    connect(&m_remoteRunEnd, &QTimer::timeout, this, &OperatorMoves::finishRemoteGesture);
    for (int i = 0; i < m_bank.stripCount(); ++i) watch(i, &m_bank.strip(i));
    connect(&m_bank, &FaderBank::stripAdded, this, &OperatorMoves::watch);
}

void OperatorMoves::watch(int fader, FaderStrip* strip) {
    connect(strip, &FaderStrip::gainMoved, this,
            [this, fader](int16_t code, MoveSource source) { stripMoved(fader, code, source); });
    connect(strip, &FaderStrip::letGo, this, [this, fader] { stripLetGo(fader); });
    // A typed gain takes the panel's road: held to the travel and the
    // ceiling, and a gesture of its own.
    connect(strip, &FaderStrip::gainTyped, this, [this, fader](int code) {
        Q_EMIT faderTouched(fader);
        begin(MoveSource::Typed);
        move(fader, code);
        end();
    });
}

void OperatorMoves::begin(MoveSource source, const QString& label, const QString& sender) {
    finishHandGesture();
    finishRemoteGesture();
    end();
    m_panelGesture = Gesture{source, label, sender, {}};
}

void OperatorMoves::move(int fader, int code) {
    if (m_panelGesture) placeAndNote(*m_panelGesture, fader, code);
}

void OperatorMoves::placeAndNote(Gesture& gesture, int fader, int code) {
    int held = std::clamp<int>(code, GainCode::Off, GainCode::Top);
    if (m_ceiling) held = std::min<int>(held, *m_ceiling);
    try {
        FaderStrip& strip = m_bank.strip(fader);
        if (strip.isLocked()) return;
        strip.placeFader(static_cast<int16_t>(held));
    } catch (const std::exception&) {
        return;  // no such strip: FaderMoved would log it; nothing to place
    }
    note(gesture, fader, static_cast<int16_t>(held), m_ceiling && code > *m_ceiling);
}

void OperatorMoves::remoteMove(int fader, int code, const QString& sender) {
    if (m_remoteGesture && (fader != m_remoteFader || m_remoteGesture->sender != sender)) {
        finishRemoteGesture();
    }
    if (!m_remoteGesture) {
        m_remoteGesture = Gesture{MoveSource::Remote, {}, sender, {}};
        m_remoteFader = fader;
    }
    Q_EMIT faderTouched(fader);
    placeAndNote(*m_remoteGesture, fader, code);
    m_remoteRunEnd.start();
}

void OperatorMoves::finishGestures() {
    finishHandGesture();
    finishRemoteGesture();
}

void OperatorMoves::finishRemoteGesture() {
    m_remoteRunEnd.stop();
    finish(m_remoteGesture);
    m_remoteFader = -1;
}

void OperatorMoves::end() { finish(m_panelGesture); }

void OperatorMoves::finishHandGesture() {
    m_runEnd.stop();
    finish(m_handGesture);
    m_handFader = -1;
}

// A move of another fader, or of another kind, starts a new gesture.
void OperatorMoves::stripMoved(int fader, int16_t code, MoveSource source) {
    Q_EMIT faderTouched(fader);
    if (m_handGesture && (fader != m_handFader || m_handGesture->source != source)) {
        finishHandGesture();
    }
    if (!m_handGesture) {
        m_handGesture = Gesture{source, {}, {}, {}};
        m_handFader = fader;
    }
    note(*m_handGesture, fader, code);
    if (isSingle(source)) {
        finishHandGesture();
    } else if (isRun(source)) {
        m_runEnd.start();
    }
}

void OperatorMoves::stripLetGo(int fader) {
    if (m_handGesture && fader == m_handFader && m_handGesture->source == MoveSource::Mouse) {
        finishHandGesture();
    }
}

// The gain a fader had before the gesture is what the switcher last
// reported for its channel when the gesture first moved it.
void OperatorMoves::note(Gesture& gesture, int fader, int16_t code, bool clamped) {
    FaderChange* change = gesture.changeOf(fader);
    if (!change) {
        try {
            gesture.changes.push_back(
                {fader, entryAt(m_state.Chan, fader), storedGain(m_state, fader), code});
            change = &gesture.changes.back();
        } catch (const std::exception&) {
            change = nullptr;  // a fader without a channel: FaderMoved logs it
        }
    }
    m_gain.FaderMoved(fader, code);
    if (change) {
        change->after = code;
        change->clamped = clamped;
    }
    Q_EMIT moved(fader, code);
}

// Faders that ended where they began changed nothing and are no step.
void OperatorMoves::finish(std::optional<Gesture>& gesture) {
    if (!gesture) return;
    Gesture done = std::move(*gesture);
    gesture.reset();
    auto& changes = done.changes;
    changes.erase(std::remove_if(changes.begin(), changes.end(),
                                 [](const FaderChange& c) { return c.before == c.after; }),
                  changes.end());
    if (!changes.empty()) Q_EMIT gestureFinished(done);
}
