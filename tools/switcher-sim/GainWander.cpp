#include "GainWander.h"

#include <algorithm>

#include "SimOptions.h"
#include "SwitcherModel.h"
#include "SwitcherServer.h"

namespace {
constexpr int ChannelsMoved = 8;  // the ones a starter panel shows
constexpr int LargestStep = 60;   // 6 dB
constexpr int LowestCode = 24;    // the bottom of a fader's travel
constexpr int HighestCode = 1264;
}  // namespace

GainWander::GainWander(SwitcherModel& model, SwitcherServer& server, double seconds, quint32 seed,
                       QObject* parent)
    : QObject(parent), m_model(model), m_server(server), m_random(seed) {
    connect(&m_timer, &QTimer::timeout, this, &GainWander::moveOneGain);
    m_timer.start(std::max(1, milliseconds(seconds)));
}

void GainWander::moveOneGain() {
    const auto& stages = SwitcherModel::ShownStages;
    const uint8_t stage = stages[m_random.bounded(static_cast<quint32>(stages.size()))];
    const int channels = std::min<int>(ChannelsMoved, m_model.channelsAt(stage).size());
    const GainRun run = m_model.pairOf(stage, m_random.bounded(channels));
    const int step = m_random.bounded(-LargestStep, LargestStep + 1);
    const int16_t now = m_model.gains(run).front();
    const int highest = std::min<int>(HighestCode, m_model.maxGain());
    const auto code = static_cast<int16_t>(std::clamp(now + step, LowestCode, highest));
    for (int channel = run.first; channel < run.first + run.count; ++channel) {
        m_model.apply(stage, channel, code);
    }
    m_server.reportGains(run);
}
