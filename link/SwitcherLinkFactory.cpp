#include "SwitcherLinkFactory.h"

#include "SwitcherConnection.h"
#include "TcpSwitcherSocket.h"

std::unique_ptr<SwitcherLinkPort> makeSwitcherLink(PanelState& state, PanelView& view,
                                                   ErrorSink& log) {
    return std::make_unique<SwitcherConnection>(state, view, log,
                                                std::make_unique<TcpSwitcherSocket>());
}
