// How the main window gets its switcher link: the window hands over the
// state, itself as the link's view, and the log, and owns what comes back.
#pragma once

#include <functional>
#include <memory>

class ErrorSink;
class PanelView;
class SwitcherLinkPort;
struct PanelState;

using LinkFactory =
    std::function<std::unique_ptr<SwitcherLinkPort>(PanelState&, PanelView&, ErrorSink&)>;
