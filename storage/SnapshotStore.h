// The snapshots as "Panel.ini" keeps them, in the order the operator stored
// them: one section "Snapshot N" each, with its name, its gain stage and,
// for each fader, its channel (numbered as "Slider.ini" numbers them: from
// 1, or the device ID as entered), Stereo setting and gain code; and the
// length of a recall's fade in "[Snapshots]".
#pragma once

#include <vector>

#include "Snapshot.h"

class PanelIni;

class SnapshotStore {
public:
    static constexpr int LongestFadeSeconds = 30;

    explicit SnapshotStore(PanelIni& ini);

    // A snapshot the file cannot give back whole is left out.
    std::vector<Snapshot> load() const;
    void save(const std::vector<Snapshot>& snapshots);

    // 0 to LongestFadeSeconds; 0 recalls at once.
    int fadeSeconds() const;
    void setFadeSeconds(int seconds);

private:
    PanelIni& m_ini;
};
