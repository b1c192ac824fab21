// The faders' locks and the gain ceilings as "Panel.ini" keeps them:
// "[Locks]" with "Fader N=1" for each locked fader position (counted from 1),
// and "[Ceilings]" with "Stage N=+10.0 dB" for each gain stage that has one.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>

class PanelIni;

class SafetyStore {
public:
    using Ceilings = std::map<int16_t, std::optional<int16_t>>;  // stage -> code

    explicit SafetyStore(PanelIni& ini);

    std::set<int> lockedFaders() const;  // 0-based positions
    void setLocked(int fader, bool locked);

    Ceilings ceilings() const;
    std::optional<int16_t> ceilingOf(int16_t stage) const;
    void setCeilings(const Ceilings& ceilings);

private:
    PanelIni& m_ini;
};
