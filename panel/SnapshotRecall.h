// Taking a snapshot of the panel's levels and putting them back. A recall
// goes the operator's road, fader by fader (a stereo fader sends its pair),
// as one gesture: at once, or as a fade that runs in a straight line in dB,
// moves a fader at most once every 20 ms and always ends exactly on the
// stored gain. The fade's timer runs only while a fade is under way.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <vector>

#include "Snapshot.h"

class FaderBank;
class OperatorMoves;
struct PanelState;

class SnapshotRecall : public QObject {
    Q_OBJECT
public:
    static constexpr int StepMs = 20;
    static constexpr qint64 StepNs = qint64{StepMs} * 1000 * 1000;

    SnapshotRecall(const PanelState& state, FaderBank& bank, OperatorMoves& moves,
                   QObject* parent = nullptr);

    // Each fader's channel, Stereo setting and the gain the switcher last
    // reported for it (where no table holds the gains, the fader's own).
    Snapshot capture(const QString& name) const;

    // Starts the recall, or says why it cannot be made: another gain stage,
    // or none of the snapshot's channels on the panel. Faders are found by
    // channel; a fade of 0 ms recalls at once.
    QString recall(const Snapshot& snapshot, int fadeMs, const QString& sender = QString());

    bool isFading() const { return !m_fades.empty(); }
    // The operator took this fader: its fade stops where it stands.
    void stopFader(int fader);
    // Every fade stops where it stands; the recall's gesture ends.
    void stop();

private:
    struct Fade {
        int fader;
        int16_t from;
        int16_t to;
        int16_t last;
        qint64 dueNs;  // not to move before: a step after it was last sent
        bool done;
    };
    struct Target {
        int fader;
        int16_t code;
    };

    std::vector<Target> targetsOf(const Snapshot& snapshot);
    void tick();
    void step(Fade& fade, double progress);
    void armForNextDue();
    void finishIfDone();

    const PanelState& m_state;
    FaderBank& m_bank;
    OperatorMoves& m_moves;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_durationMs = 0;
    std::vector<Fade> m_fades;
};
