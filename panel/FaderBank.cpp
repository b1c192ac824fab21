// Strips are added and removed only at the end of the row, so a strip's
// index never changes while it exists.
#include "FaderBank.h"

#include <algorithm>
#include <stdexcept>

#include "ErrorSink.h"
#include "FaderStrip.h"
#include "PanelState.h"
#include "TableEntry.h"

namespace {

constexpr int StripPitchTwips = 1560;
constexpr int WidthBeyondLastStripTwips = 1575;

}  // namespace

FaderBank::FaderBank(PanelState& state, ErrorSink& log, QWidget* parent)
    : QWidget(parent), state_(state), log_(log) {
    AddStrip(0);
}

FaderStrip& FaderBank::Strip(int i) const { return *EntryAt(strips_, i); }

void FaderBank::LoadFaders() {
    try {
        Strip(0).MoveLeftTo(120);
        for (int i = state_.LoadedFaders; i < state_.FaderCount; ++i) AddStrip(i);
        state_.LoadedFaders = state_.FaderCount;
        WantWidthForLastStrip();
    } catch (const std::exception&) {
        log_.LogError(QStringLiteral("Error Loading Faders"), QStringLiteral("Display Error"));
    }
}

void FaderBank::UnloadFaders() {
    try {
        for (int i = state_.LoadedFaders - 1; i >= state_.FaderCount; --i) RemoveStrip(i);
        state_.LoadedFaders = state_.FaderCount;
        WantWidthForLastStrip();
        if (state_.FaderCount == 1) Strip(0).MoveLeftTo(240);
    } catch (const std::exception&) {
        log_.LogError(QStringLiteral("Error Loading Faders"), QStringLiteral("Display Error"));
    }
}

void FaderBank::LabelFaders() {
    try {
        for (int i = 0; i < state_.FaderCount; ++i) LabelFader(i);
    } catch (const std::exception&) {
        log_.LogError(QStringLiteral("Error Labeling Faders"), QStringLiteral("Display Error"));
    }
}

void FaderBank::MoveFirstStrip(int leftTwips) { Strip(0).MoveLeftTo(leftTwips); }

void FaderBank::SetStereoFromLink() {
    for (int i = 0; i < state_.FaderCount; ++i) {
        // Only 1 means linked; any other value read from the file shows clear.
        Strip(i).SetStereo(EntryAt(state_.Link, i) == 1);
    }
}

void FaderBank::StoreStereoIntoLink() {
    const int faders = std::min(
        {static_cast<int>(state_.FaderCount), StripCount(), static_cast<int>(state_.Link.size())});
    for (int i = 0; i < faders; ++i) {
        state_.Link[static_cast<size_t>(i)] = strips_[static_cast<size_t>(i)]->IsStereo() ? 1 : 0;
    }
}

// A new strip repeats the layout of strip 0 and shows its current captions
// until it is labelled and redrawn.
void FaderBank::AddStrip(int i) {
    if (i != StripCount()) throw std::logic_error("strip already loaded");
    auto* strip = new FaderStrip(this);
    if (i > 0) {
        strip->CopyCaptionsFrom(Strip(0));
        strip->move(strip->x(), Strip(i - 1).y());
        strip->MoveLeftTo(Strip(i - 1).LeftTwips() + StripPitchTwips);
        strip->show();
    }
    strips_.push_back(strip);
    Q_EMIT StripAdded(i, strip);
}

void FaderBank::RemoveStrip(int i) {
    if (i == 0 || i != StripCount() - 1) throw std::logic_error("strip cannot be unloaded");
    delete strips_.back();
    strips_.pop_back();
}

void FaderBank::LabelFader(int i) {
    FaderStrip& strip = Strip(i);
    const int16_t channel = EntryAt(state_.Chan, i);
    const bool savedStereo = i < static_cast<int>(state_.Link.size()) && state_.Link[i] == 1;
    switch (state_.GainStage) {
        case GainStage::InputTrim:
            strip.SetChannelName(EntryAt(state_.SourceAlpha, channel));
            strip.OfferStereo(EntryAt(state_.SourceLinks, channel) != 0, savedStereo);
            break;
        case GainStage::AnalogOutput:
        case GainStage::DspOutput:
            strip.SetChannelName(EntryAt(state_.DestinationAlpha, channel));
            strip.OfferStereo(EntryAt(state_.DestinationLinks, channel) != 0, savedStereo);
            break;
        case GainStage::DeviceId:
            strip.SetChannelName(QStringLiteral("Device ID ") + QString::number(channel));
            strip.OfferStereo(false, savedStereo);
            break;
        default:
            break;
    }
}

void FaderBank::WantWidthForLastStrip() {
    Q_EMIT OuterWidthWanted(Strip(state_.FaderCount - 1).LeftTwips() + WidthBeyondLastStripTwips);
}
