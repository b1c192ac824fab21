// The panel as the remote control sees it: its faders' gains, names, Stereo
// settings and locks, and the link's state; and the operator's road for the
// moves and recalls a controller asks for.
#pragma once

#include <functional>
#include <optional>

#include "LinkStatus.h"
#include "RemoteTarget.h"

class FaderBank;
class OperatorMoves;
struct PanelState;

class RemoteBridge : public RemoteTarget {
public:
    using Recall = std::function<QString(const QString& name, std::optional<double> fadeSeconds,
                                         const QString& sender)>;

    RemoteBridge(const PanelState& state, FaderBank& bank, OperatorMoves& moves, Recall recall);

    void setLinkStatus(const LinkStatus& status) { m_link = status.phase; }

    int faderCount() const override;
    int16_t faderCode(int fader) const override;
    RemotePicture picture() const override;
    void moveFader(int fader, int code, const QString& sender) override;
    QString recallSnapshot(const QString& name, std::optional<double> fadeSeconds,
                           const QString& sender) override;

private:
    const PanelState& m_state;
    FaderBank& m_bank;
    OperatorMoves& m_moves;
    Recall m_recall;
    LinkPhase m_link = LinkPhase::Down;
};
