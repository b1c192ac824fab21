#include "RemoteBridge.h"

#include <algorithm>
#include <utility>

#include "FaderBank.h"
#include "FaderStrip.h"
#include "GainCode.h"
#include "OperatorMoves.h"
#include "PanelState.h"

namespace {

QString linkWord(LinkPhase phase) {
    switch (phase) {
        case LinkPhase::Down:
            return QStringLiteral("not connected");
        case LinkPhase::Connecting:
            return QStringLiteral("connecting");
        case LinkPhase::Waiting:
            return QStringLiteral("waiting");
        case LinkPhase::Live:
            return QStringLiteral("live");
        case LinkPhase::RetryWait:
        case LinkPhase::RetryAttempt:
            return QStringLiteral("lost");
    }
    return QString();
}

}  // namespace

RemoteBridge::RemoteBridge(const PanelState& state, FaderBank& bank, OperatorMoves& moves,
                           Recall recall)
    : m_state(state), m_bank(bank), m_moves(moves), m_recall(std::move(recall)) {}

int RemoteBridge::faderCount() const {
    return std::min<int>(m_state.FaderCount, m_bank.stripCount());
}

int16_t RemoteBridge::faderCode(int fader) const { return m_bank.strip(fader).code(); }

RemotePicture RemoteBridge::picture() const {
    RemotePicture picture;
    for (int i = 0; i < faderCount(); ++i) {
        const FaderStrip& strip = m_bank.strip(i);
        const int16_t code = strip.code();
        picture.faders.push_back(
            {code <= GainCode::Off ? GainCode::OffDecibels : GainCode::decibelsOf(code),
             strip.channelName().trimmed(), strip.isStereo() ? 1 : 0, strip.isLocked() ? 1 : 0});
    }
    picture.link = linkWord(m_link);
    return picture;
}

void RemoteBridge::moveFader(int fader, int code, const QString& sender) {
    m_moves.remoteMove(fader, code, sender);
}

QString RemoteBridge::recallSnapshot(const QString& name, std::optional<double> fadeSeconds,
                                     const QString& sender) {
    return m_recall(name, fadeSeconds, sender);
}
