#include "SwitcherModel.h"

#include <algorithm>

namespace {

constexpr int16_t ZeroDb = 1024;
const QByteArray DestinationPrefix = "OUT ";
const QByteArray SourcePrefix = "IN ";

// The first channels of each side have studio names and a few stereo pairs;
// the rest are numbered (1-based, as operators count).
const std::vector<SimChannel> NamedDestinations = {
    {"PGM L", 1}, {"PGM R", 2}, {"MIX 1", 0},  {"MIX 2", 0}, {"AUX L", 1},
    {"AUX R", 2}, {"SPKR", 0},  {"PHONES", 0}, {"REC L", 1}, {"REC R", 2},
};
const std::vector<SimChannel> NamedSources = {
    {"MIC 1", 0}, {"MIC 2", 0},  {"MIC 3", 0},  {"MIC 4", 0},  {"CD L", 1},
    {"CD R", 2},  {"LINE 1", 0}, {"LINE 2", 0}, {"TAPE L", 1}, {"TAPE R", 2},
};

// Starting gains around 0 dB, the same for both channels of a pair, so the
// faders come up at different heights.
constexpr std::array<int16_t, 8> StartOffsets = {0, -60, -120, 50, -200, -30, -90, 20};

std::vector<SimChannel> makeSide(int count, const std::vector<SimChannel>& named,
                                 const QByteArray& prefix) {
    std::vector<SimChannel> side;
    side.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (i < static_cast<int>(named.size())) {
            side.push_back(named[static_cast<size_t>(i)]);
        } else {
            side.push_back({prefix + QByteArray::number(i + 1), 0});
        }
    }
    // A pair cut in half by the channel count is a mono channel.
    if (!side.empty() && side.back().link == 1) side.back().link = 0;
    return side;
}

std::vector<int16_t> startingGains(const std::vector<SimChannel>& side, int16_t maxGain) {
    std::vector<int16_t> gains;
    gains.reserve(side.size());
    for (size_t i = 0; i < side.size(); ++i) {
        const size_t leftOfPair = side[i].link == 2 ? i - 1 : i;
        const int code = ZeroDb + StartOffsets[leftOfPair % StartOffsets.size()];
        gains.push_back(static_cast<int16_t>(std::min<int>(code, maxGain)));
    }
    return gains;
}

}  // namespace

SwitcherModel::SwitcherModel(int sources, int destinations, int16_t maxGain)
    : m_sources(makeSide(sources, NamedSources, SourcePrefix)),
      m_destinations(makeSide(destinations, NamedDestinations, DestinationPrefix)),
      m_maxGain(maxGain) {
    m_gains[1] = startingGains(m_sources, m_maxGain);
    m_gains[3] = startingGains(m_destinations, m_maxGain);
    m_gains[15] = startingGains(m_destinations, m_maxGain);
}

const std::vector<SimChannel>& SwitcherModel::channelsAt(uint8_t stage) const {
    static const std::vector<SimChannel> none;
    if (stage == 1) return m_sources;
    if (stage == 3 || stage == 15) return m_destinations;
    return none;
}

std::vector<int16_t> SwitcherModel::gains(const GainRun& run) const {
    const std::vector<int16_t>& all = m_gains.at(run.stage);
    const auto from = all.begin() + run.first;
    return std::vector<int16_t>(from, from + run.count);
}

std::optional<int16_t> SwitcherModel::apply(uint8_t stage, int channel, int16_t code) {
    const auto gains = m_gains.find(stage);
    if (gains == m_gains.end() || channel < 0 ||
        channel >= static_cast<int>(gains->second.size())) {
        return std::nullopt;
    }
    const int16_t taken = std::clamp<int16_t>(code, 0, m_maxGain);
    gains->second[static_cast<size_t>(channel)] = taken;
    return taken;
}

GainRun SwitcherModel::pairOf(uint8_t stage, int channel) const {
    const std::vector<SimChannel>& side = channelsAt(stage);
    const int16_t link = side.at(static_cast<size_t>(channel)).link;
    if (link == 1) return {stage, channel, 2};
    if (link == 2) return {stage, channel - 1, 2};
    return {stage, channel, 1};
}
