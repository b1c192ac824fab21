#include "SnapshotRecall.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "FaderBank.h"
#include "FaderStrip.h"
#include "GainReadout.h"
#include "OperatorMoves.h"
#include "PanelState.h"
#include "TableEntry.h"

SnapshotRecall::SnapshotRecall(const PanelState& state, FaderBank& bank, OperatorMoves& moves,
                               QObject* parent)
    : QObject(parent), m_state(state), m_bank(bank), m_moves(moves) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SnapshotRecall::tick);
}

Snapshot SnapshotRecall::capture(const QString& name) const {
    Snapshot snapshot{name, m_state.GainStage, {}};
    const bool tablesHoldGains = m_state.GainStage == GainStage::InputTrim ||
                                 m_state.GainStage == GainStage::AnalogOutput ||
                                 m_state.GainStage == GainStage::DspOutput;
    for (int i = 0; i < m_state.FaderCount && i < m_bank.stripCount(); ++i) {
        const FaderStrip& strip = m_bank.strip(i);
        try {
            const int16_t code = tablesHoldGains ? storedGain(m_state, i) : strip.code();
            snapshot.faders.push_back({entryAt(m_state.Chan, i), strip.isStereo(), code});
        } catch (const std::exception&) {
            // a fader without a channel has nothing to keep
        }
    }
    return snapshot;
}

// Each snapshot fader goes to the first fader of the panel on its channel
// not already taken; its Stereo setting comes back where the box is offered.
std::vector<SnapshotRecall::Target> SnapshotRecall::targetsOf(const Snapshot& snapshot) {
    std::vector<Target> targets;
    std::vector<bool> taken(static_cast<size_t>(std::max<int>(m_bank.stripCount(), 0)), false);
    for (const SnapshotFader& stored : snapshot.faders) {
        for (int i = 0; i < m_state.FaderCount && i < m_bank.stripCount(); ++i) {
            if (taken[static_cast<size_t>(i)] || i >= static_cast<int>(m_state.Chan.size()) ||
                m_state.Chan[static_cast<size_t>(i)] != stored.channel) {
                continue;
            }
            taken[static_cast<size_t>(i)] = true;
            FaderStrip& strip = m_bank.strip(i);
            if (strip.stereoOffered()) strip.setStereo(stored.stereo);
            targets.push_back({i, stored.code});
            break;
        }
    }
    return targets;
}

QString SnapshotRecall::recall(const Snapshot& snapshot, int fadeMs, const QString& sender) {
    if (snapshot.gainStage != m_state.GainStage) {
        return QStringLiteral("\"%1\" was stored at the gain stage %2; the panel is at %3.")
            .arg(snapshot.name, gainStageCaption(snapshot.gainStage),
                 gainStageCaption(m_state.GainStage));
    }
    stop();
    const std::vector<Target> targets = targetsOf(snapshot);
    if (targets.empty()) {
        return QStringLiteral("None of the channels of \"%1\" is on a fader of the panel.")
            .arg(snapshot.name);
    }
    m_moves.begin(MoveSource::Snapshot, snapshot.name, sender);
    if (fadeMs <= 0) {
        for (const Target& target : targets) m_moves.move(target.fader, target.code);
        m_moves.end();
        return QString();
    }
    for (const Target& target : targets) {
        int16_t from = target.code;
        try {
            from = storedGain(m_state, target.fader);
        } catch (const std::exception&) {
            // no table entry: the fade starts where it ends, a single move
        }
        m_fades.push_back({target.fader, from, target.code, from, 0, false});
    }
    m_durationMs = fadeMs;
    m_clock.start();
    armForNextDue();
    return QString();
}

void SnapshotRecall::tick() {
    const double progress = std::min(1.0, static_cast<double>(m_clock.elapsed()) / m_durationMs);
    for (Fade& fade : m_fades) {
        if (!fade.done && m_clock.nsecsElapsed() >= fade.dueNs) step(fade, progress);
    }
    finishIfDone();
    armForNextDue();
}

// The fade goes to the code it stands at by now, rounded to the nearest
// step. The next move waits a whole step from the moment this one was sent,
// so that however late a tick runs, the switcher never gets two moves of
// one fader less than a step apart.
void SnapshotRecall::step(Fade& fade, double progress) {
    const auto code =
        static_cast<int16_t>(std::lround(fade.from + (fade.to - fade.from) * progress));
    if (code != fade.last) {
        m_moves.move(fade.fader, code);
        fade.last = code;
    }
    fade.dueNs = m_clock.nsecsElapsed() + StepNs;
    fade.done = fade.last == fade.to && progress >= 1.0;
}

// Wakes when the first fade is due again, or as much later as lets the
// fades sent with it in one tick (microseconds apart) move together again,
// rather than each in a tick of its own.
void SnapshotRecall::armForNextDue() {
    constexpr qint64 TogetherNs = qint64{1000} * 1000;
    qint64 first = -1;
    for (const Fade& fade : m_fades) {
        if (!fade.done && (first < 0 || fade.dueNs < first)) first = fade.dueNs;
    }
    if (first < 0) return;
    qint64 due = first;
    for (const Fade& fade : m_fades) {
        if (!fade.done && fade.dueNs <= first + TogetherNs) due = std::max(due, fade.dueNs);
    }
    const qint64 waitNs = std::max<qint64>(due - m_clock.nsecsElapsed(), 0);
    m_timer.start(static_cast<int>((waitNs + 999999) / 1000000));
}

void SnapshotRecall::stopFader(int fader) {
    for (Fade& fade : m_fades) {
        if (fade.fader == fader) fade.done = true;
    }
    finishIfDone();
}

void SnapshotRecall::stop() {
    for (Fade& fade : m_fades) fade.done = true;
    finishIfDone();
}

void SnapshotRecall::finishIfDone() {
    if (!std::all_of(m_fades.begin(), m_fades.end(), [](const Fade& f) { return f.done; })) return;
    const bool wasFading = !m_fades.empty();
    m_fades.clear();
    m_timer.stop();
    if (wasFading) m_moves.end();
}
