// Strips are added and removed only at the end of the row, so a strip's
// index never changes while it exists.
#include "FaderBank.h"

#include <QCheckBox>
#include <QLabel>
#include <algorithm>
#include <stdexcept>

#include "ErrorSink.h"
#include "FaderSlider.h"
#include "FaderStrip.h"
#include "PanelState.h"
#include "TableEntry.h"

namespace {

constexpr int StripPitchTwips = 1560;
constexpr int WidthBeyondLastStripTwips = 1575;

// A box that comes back into view takes the operator's saved setting: it was
// cleared only because its channel's link was not known, typically because
// the switcher sent its name table before its link table. Without this every
// start-up would wipe the saved Stereo settings.
void ShowStereoWhenLinked(FaderStrip& strip, bool linked, int16_t savedLink) {
    QCheckBox* box = strip.chkStereo();
    if (!linked) {
        box->setChecked(false);
    } else if (box->isHidden()) {
        box->setChecked(savedLink == 1);
    }
    box->setVisible(linked);
}

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
        Strip(i).chkStereo()->setChecked(EntryAt(state_.Link, i) == 1);
    }
}

void FaderBank::StoreStereoIntoLink() {
    const int faders = std::min(
        {static_cast<int>(state_.FaderCount), StripCount(), static_cast<int>(state_.Link.size())});
    for (int i = 0; i < faders; ++i) {
        state_.Link[static_cast<size_t>(i)] =
            strips_[static_cast<size_t>(i)]->chkStereo()->isChecked() ? 1 : 0;
    }
}

// A new strip repeats the layout of strip 0 and shows its current captions
// until it is labelled and redrawn.
void FaderBank::AddStrip(int i) {
    if (i != StripCount()) throw std::logic_error("strip already loaded");
    auto* strip = new FaderStrip(this);
    if (i > 0) {
        const FaderStrip& first = Strip(0);
        strip->lblChan()->setText(first.lblChan()->text());
        strip->lblGain()->setText(first.lblGain()->text());
        strip->move(strip->x(), Strip(i - 1).y());
        strip->MoveLeftTo(Strip(i - 1).LeftTwips() + StripPitchTwips);
        strip->show();
    }
    connect(strip, &FaderStrip::FaderMoved, this, [this, i] { Q_EMIT FaderMoved(i); });
    connect(strip, &FaderStrip::FaderKeyReleased, this,
            [this, i](int key, Qt::KeyboardModifiers modifiers) {
                Q_EMIT FaderKeyReleased(i, key, modifiers);
            });
    connect(strip, &FaderStrip::ZeroClicked, this, [this, i] { Q_EMIT ZeroClicked(i); });
    strips_.push_back(strip);
}

void FaderBank::RemoveStrip(int i) {
    if (i == 0 || i != StripCount() - 1) throw std::logic_error("strip cannot be unloaded");
    delete strips_.back();
    strips_.pop_back();
}

void FaderBank::LabelFader(int i) {
    FaderStrip& strip = Strip(i);
    const int16_t channel = EntryAt(state_.Chan, i);
    const int16_t savedLink = i < static_cast<int>(state_.Link.size()) ? state_.Link[i] : 0;
    switch (state_.GainStage) {
        case GainStage::InputTrim:
            strip.lblChan()->setText(EntryAt(state_.SourceAlpha, channel));
            ShowStereoWhenLinked(strip, EntryAt(state_.SourceLinks, channel) != 0, savedLink);
            break;
        case GainStage::AnalogOutput:
        case GainStage::DspOutput:
            strip.lblChan()->setText(EntryAt(state_.DestinationAlpha, channel));
            ShowStereoWhenLinked(strip, EntryAt(state_.DestinationLinks, channel) != 0, savedLink);
            break;
        case GainStage::DeviceId:
            strip.lblChan()->setText(QStringLiteral("Device ID ") + QString::number(channel));
            ShowStereoWhenLinked(strip, false, savedLink);
            break;
        default:
            break;
    }
}

void FaderBank::WantWidthForLastStrip() {
    Q_EMIT OuterWidthWanted(Strip(state_.FaderCount - 1).LeftTwips() + WidthBeyondLastStripTwips);
}
