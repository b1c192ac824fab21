// One gesture of the operator: everything one drag, one run of keys on a
// fader, one button, one snapshot recall (and the undo or redo of one of
// those) changed. It is one step of the undo history and one line of the
// operator's journal.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// What made a move.
enum class MoveSource {
    Mouse,
    Keyboard,
    Wheel,
    ZeroButton,
    HomeEnd,
    ScreenReader,
    Snapshot,
    Undo,
    Redo,
    Typed,
    Remote,
};

// One fader within a gesture: its channel, the gain the switcher had last
// reported for it when the gesture began, and the gain the gesture ended on.
struct FaderChange {
    int fader = 0;
    int16_t channel = 0;
    int16_t before = 0;
    int16_t after = 0;
    bool clamped = false;  // asked for above the gain ceiling, and held to it
};

struct Gesture {
    MoveSource source = MoveSource::Mouse;
    QString label;   // the snapshot's name for a recall
    QString sender;  // "127.0.0.1:53211" when a remote controller asked for it
    std::vector<FaderChange> changes;

    // The change of a fader, when the gesture moved it.
    FaderChange* changeOf(int fader) {
        for (FaderChange& change : changes) {
            if (change.fader == fader) return &change;
        }
        return nullptr;
    }
};

// "mouse", "keyboard", "snapshot", ... as the journal writes it.
QString sourceName(MoveSource source);
