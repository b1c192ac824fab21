#include "MoveJournal.h"

#include <algorithm>
#include <exception>

#include "GainReadout.h"
#include "LinkStatusText.h"
#include "OperatorJournal.h"
#include "PanelState.h"
#include "TableEntry.h"

MoveJournal::MoveJournal(const PanelState& state, OperatorJournal& journal, QObject* parent)
    : QObject(parent), m_state(state), m_journal(journal) {
    m_clock.start();
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { writeDue(false); });
}

void MoveJournal::moved(int fader) { m_sentAt[fader] = m_reports; }

void MoveJournal::track(const Gesture& gesture) {
    Pending pending{gesture, {}, m_clock.elapsed() + AnswerWithinMs};
    for (const FaderChange& change : gesture.changes) {
        Fader fader{change, m_sentAt[change.fader], Answer::None, 0};
        judge(fader);
        pending.faders.push_back(fader);
    }
    if (allConfirmed(pending)) {
        write(pending);
        return;
    }
    m_pending.push_back(std::move(pending));
    armDeadline();
}

void MoveJournal::gainReported(int16_t stage, int channel) {
    if (stage != m_state.GainStage) return;
    m_lastReport[channel] = ++m_reports;
    if (m_pending.empty()) return;
    for (Pending& pending : m_pending) {
        for (Fader& fader : pending.faders) judge(fader);
    }
    const auto answered = [this](const Pending& p) { return allConfirmed(p); };
    for (Pending& pending : m_pending) {
        if (answered(pending)) write(pending);
    }
    m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(), answered), m_pending.end());
    armDeadline();
}

// A report that came after the fader's last move is the switcher's answer
// to it: the gain asked for, or another.
void MoveJournal::judge(Fader& fader) const {
    const auto report = m_lastReport.find(fader.change.channel);
    if (report == m_lastReport.end() || report->second <= fader.reportsWhenSent) return;
    try {
        fader.reported = storedGain(m_state, fader.change.fader);
    } catch (const std::exception&) {
        return;
    }
    fader.answer = fader.reported == fader.change.after ? Answer::Confirmed : Answer::Refused;
}

bool MoveJournal::allConfirmed(const Pending& pending) const {
    return std::all_of(pending.faders.begin(), pending.faders.end(),
                       [](const Fader& f) { return f.answer == Answer::Confirmed; });
}

void MoveJournal::writeDue(bool everything) {
    const qint64 now = m_clock.elapsed();
    const auto due = [&](const Pending& p) { return everything || p.dueMs <= now; };
    for (Pending& pending : m_pending) {
        if (due(pending)) write(pending);
    }
    m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(), due), m_pending.end());
    armDeadline();
}

void MoveJournal::flush() { writeDue(true); }

void MoveJournal::armDeadline() {
    if (m_pending.empty()) {
        m_deadline.stop();
        return;
    }
    const auto first =
        std::min_element(m_pending.begin(), m_pending.end(),
                         [](const Pending& a, const Pending& b) { return a.dueMs < b.dueMs; });
    m_deadline.start(static_cast<int>(std::max<qint64>(first->dueMs - m_clock.elapsed(), 0)));
}

// keyboard  fader 3  ch 5 "MIC 5"  DSP Output Level  -6.0 dB -> -3.0 dB  confirmed
void MoveJournal::write(Pending& pending) {
    const Gesture& gesture = pending.gesture;
    QStringList what;
    if (!gesture.sender.isEmpty()) what << QStringLiteral("remote ") + gesture.sender;
    if (gesture.source != MoveSource::Remote) what << sourceName(gesture.source);
    if (!gesture.label.isEmpty()) what << QStringLiteral("\"%1\"").arg(gesture.label);
    const QString line = what.join(QLatin1Char(' '));
    QStringList faders;
    for (const Fader& fader : pending.faders) faders << faderText(fader);
    m_journal.append(line + QStringLiteral("  ") + faders.join(QStringLiteral(" | ")));
}

QString MoveJournal::faderText(const Fader& fader) const {
    const FaderChange& change = fader.change;
    const int shownChannel =
        m_state.GainStage == GainStage::DeviceId ? change.channel : change.channel + 1;
    QString answer = QStringLiteral("unconfirmed");
    if (fader.answer == Answer::Confirmed) answer = QStringLiteral("confirmed");
    if (fader.answer == Answer::Refused) {
        answer =
            QStringLiteral("refused (switcher reported %1)").arg(gainDecibelText(fader.reported));
    }
    const QString held = change.clamped ? QStringLiteral(" (held to the ceiling)") : QString();
    return QStringLiteral("fader %1  ch %2 \"%3\"  %4  %5 -> %6%7  %8")
        .arg(change.fader + 1)
        .arg(shownChannel)
        .arg(channelName(change.channel), gainStageCaption(m_state.GainStage),
             gainDecibelText(change.before), gainDecibelText(change.after), held, answer);
}

QString MoveJournal::channelName(int16_t channel) const {
    try {
        switch (m_state.GainStage) {
            case GainStage::InputTrim:
                return entryAt(m_state.SourceAlpha, channel).trimmed();
            case GainStage::AnalogOutput:
            case GainStage::DspOutput:
                return entryAt(m_state.DestinationAlpha, channel).trimmed();
            default:
                return QString();
        }
    } catch (const std::exception&) {
        return QString();  // no name table yet
    }
}

void MoveJournal::linkChanged(const LinkStatus& status) {
    if (status.phase == m_phase) return;
    m_phase = status.phase;
    m_journal.append(QStringLiteral("link  ") + linkStatusText(status));
}
