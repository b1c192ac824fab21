// The switcher the simulator plays: its sources and destinations with their
// fixed-width names and stereo links, and the gains at the stages a panel can
// show (1 for sources, 3 and 15 for destinations).
#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

struct SimChannel {
    QByteArray name;   // at most NameWidth characters
    int16_t link = 0;  // 0 mono, 1 left of a stereo pair, 2 right
};

// A run of channels at one stage, as reports carry them.
struct GainRun {
    uint8_t stage = 0;
    int first = 0;
    int count = 0;
};

class SwitcherModel {
public:
    static constexpr int NameWidth = 8;
    static constexpr std::array<uint8_t, 3> ShownStages = {1, 3, 15};

    // gains above maxGain are never taken; the starting gains are limited too.
    SwitcherModel(int sources, int destinations, int16_t maxGain);

    const std::vector<SimChannel>& sources() const { return m_sources; }
    const std::vector<SimChannel>& destinations() const { return m_destinations; }
    int16_t maxGain() const { return m_maxGain; }

    // The channels of a stage's side; empty for a stage the model does not keep.
    const std::vector<SimChannel>& channelsAt(uint8_t stage) const;
    bool keeps(uint8_t stage) const { return m_gains.count(stage) != 0; }
    // The gains of a run; the run must lie within the stage's channels.
    std::vector<int16_t> gains(const GainRun& run) const;

    // Takes a requested gain, limited to 0..MaxGain; the code taken, or
    // nothing for a stage or channel the switcher does not have.
    std::optional<int16_t> apply(uint8_t stage, int channel, int16_t code);

    // The channel alone, or both channels of its stereo pair.
    GainRun pairOf(uint8_t stage, int channel) const;

private:
    std::vector<SimChannel> m_sources;
    std::vector<SimChannel> m_destinations;
    std::map<uint8_t, std::vector<int16_t>> m_gains;
    int16_t m_maxGain;
};
