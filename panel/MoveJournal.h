// The operator's journal as the panel keeps it: one line per gesture, once
// the switcher has had its say, and one per change of the link's state. A
// gesture's faders are confirmed when the switcher reports the gain they
// were moved to, refused when it reports another, and unconfirmed when it
// says nothing within a second of the gesture's end.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <map>
#include <vector>

#include "Gesture.h"
#include "LinkStatus.h"

class OperatorJournal;
struct PanelState;

class MoveJournal : public QObject {
    Q_OBJECT
public:
    static constexpr int AnswerWithinMs = 1000;

    MoveJournal(const PanelState& state, OperatorJournal& journal, QObject* parent = nullptr);

    // A move of the fader was sent (or found already there).
    void moved(int fader);
    // A finished gesture: its line is written once every fader has its
    // answer, or a second after the gesture ended.
    void track(const Gesture& gesture);
    // The switcher reported a gain of the panel's stage for this channel.
    void gainReported(int16_t stage, int channel);
    // Connected, live, lost: a line for each new phase, not for countdowns.
    void linkChanged(const LinkStatus& status);

    // Writes every line still waiting, as the answers stand (at exit).
    void flush();

private:
    enum class Answer { None, Confirmed, Refused };
    struct Fader {
        FaderChange change;
        quint64 reportsWhenSent = 0;
        Answer answer = Answer::None;
        int16_t reported = 0;
    };
    struct Pending {
        Gesture gesture;
        std::vector<Fader> faders;
        qint64 dueMs = 0;
    };

    void judge(Fader& fader) const;
    bool allConfirmed(const Pending& pending) const;
    void writeDue(bool everything);
    void write(Pending& pending);
    QString faderText(const Fader& fader) const;
    QString channelName(int16_t channel) const;
    void armDeadline();

    const PanelState& m_state;
    OperatorJournal& m_journal;
    QElapsedTimer m_clock;
    QTimer m_deadline;  // runs only while a line waits for its answers
    std::vector<Pending> m_pending;
    quint64 m_reports = 0;                // reports of the panel's stage so far
    std::map<int, quint64> m_sentAt;      // per fader: m_reports at its last move
    std::map<int, quint64> m_lastReport;  // per channel: m_reports at its last report
    LinkPhase m_phase = LinkPhase::Down;
};
