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
    : QWidget(parent), m_state(state), m_log(log) {
    addStrip(0);
}

FaderStrip& FaderBank::strip(int i) const { return *entryAt(m_strips, i); }

void FaderBank::LoadFaders() {
    try {
        strip(0).moveLeftTo(120);
        for (int i = m_state.LoadedFaders; i < m_state.FaderCount; ++i) addStrip(i);
        m_state.LoadedFaders = m_state.FaderCount;
        wantWidthForLastStrip();
    } catch (const std::exception&) {
        m_log.LogError(QStringLiteral("Error Loading Faders"), QStringLiteral("Display Error"));
    }
}

void FaderBank::UnloadFaders() {
    try {
        for (int i = m_state.LoadedFaders - 1; i >= m_state.FaderCount; --i) removeStrip(i);
        m_state.LoadedFaders = m_state.FaderCount;
        wantWidthForLastStrip();
        if (m_state.FaderCount == 1) strip(0).moveLeftTo(240);
    } catch (const std::exception&) {
        m_log.LogError(QStringLiteral("Error Loading Faders"), QStringLiteral("Display Error"));
    }
}

void FaderBank::LabelFaders() {
    try {
        for (int i = 0; i < m_state.FaderCount; ++i) labelFader(i);
    } catch (const std::exception&) {
        m_log.LogError(QStringLiteral("Error Labeling Faders"), QStringLiteral("Display Error"));
    }
}

void FaderBank::moveFirstStrip(int leftTwips) { strip(0).moveLeftTo(leftTwips); }

void FaderBank::setStereoFromLink() {
    for (int i = 0; i < m_state.FaderCount; ++i) {
        // Only 1 means linked; any other value read from the file shows clear.
        strip(i).setStereo(entryAt(m_state.Link, i) == 1);
    }
}

void FaderBank::storeStereoIntoLink() {
    const int faders = std::min({static_cast<int>(m_state.FaderCount), stripCount(),
                                 static_cast<int>(m_state.Link.size())});
    for (int i = 0; i < faders; ++i) {
        m_state.Link[static_cast<size_t>(i)] = m_strips[static_cast<size_t>(i)]->isStereo() ? 1 : 0;
    }
}

// A new strip repeats the layout of strip 0 and shows its current captions
// until it is labelled and redrawn.
void FaderBank::addStrip(int i) {
    if (i != stripCount()) throw std::logic_error("strip already loaded");
    auto* added = new FaderStrip(this);
    if (i > 0) {
        added->copyCaptionsFrom(strip(0));
        added->move(added->x(), strip(i - 1).y());
        added->moveLeftTo(strip(i - 1).leftTwips() + StripPitchTwips);
        added->show();
    }
    m_strips.push_back(added);
    Q_EMIT stripAdded(i, added);
}

void FaderBank::removeStrip(int i) {
    if (i == 0 || i != stripCount() - 1) throw std::logic_error("strip cannot be unloaded");
    delete m_strips.back();
    m_strips.pop_back();
}

void FaderBank::labelFader(int i) {
    FaderStrip& labelled = strip(i);
    const int16_t channel = entryAt(m_state.Chan, i);
    const bool savedStereo = i < static_cast<int>(m_state.Link.size()) && m_state.Link[i] == 1;
    switch (m_state.GainStage) {
        case GainStage::InputTrim:
            labelled.setChannelName(entryAt(m_state.SourceAlpha, channel));
            labelled.offerStereo(entryAt(m_state.SourceLinks, channel) != 0, savedStereo);
            break;
        case GainStage::AnalogOutput:
        case GainStage::DspOutput:
            labelled.setChannelName(entryAt(m_state.DestinationAlpha, channel));
            labelled.offerStereo(entryAt(m_state.DestinationLinks, channel) != 0, savedStereo);
            break;
        case GainStage::DeviceId:
            labelled.setChannelName(QStringLiteral("Device ID ") + QString::number(channel));
            labelled.offerStereo(false, savedStereo);
            break;
        default:
            break;
    }
}

void FaderBank::wantWidthForLastStrip() {
    Q_EMIT outerWidthWanted(strip(m_state.FaderCount - 1).leftTwips() + WidthBeyondLastStripTwips);
}
