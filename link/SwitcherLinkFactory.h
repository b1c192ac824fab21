// Builds the real link for the panel: the connection over a TCP socket.
#pragma once

#include <memory>

#include "SwitcherLinkPort.h"

class ErrorSink;
class PanelView;
struct PanelState;

std::unique_ptr<SwitcherLinkPort> makeSwitcherLink(PanelState& state, PanelView& view,
                                                   ErrorSink& log);
