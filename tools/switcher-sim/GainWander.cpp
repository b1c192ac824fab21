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
    : QObject(parent), model_(model), server_(server), random_(seed) {
    connect(&timer_, &QTimer::timeout, this, &GainWander::MoveOneGain);
    timer_.start(std::max(1, Milliseconds(seconds)));
}

void GainWander::MoveOneGain() {
    const auto& stages = SwitcherModel::ShownStages;
    const uint8_t stage = stages[random_.bounded(static_cast<quint32>(stages.size()))];
    const int channels = std::min<int>(ChannelsMoved, model_.ChannelsAt(stage).size());
    const GainRun run = model_.PairOf(stage, random_.bounded(channels));
    const int step = random_.bounded(-LargestStep, LargestStep + 1);
    const int16_t now = model_.Gains(run).front();
    const int highest = std::min<int>(HighestCode, model_.MaxGain());
    const auto code = static_cast<int16_t>(std::clamp(now + step, LowestCode, highest));
    for (int channel = run.first; channel < run.first + run.count; ++channel) {
        model_.Apply(stage, channel, code);
    }
    server_.ReportGains(run);
}
