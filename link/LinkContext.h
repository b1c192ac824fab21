// Everything a message decoder may touch: the panel state, the window (through
// its narrow interface), the error log, and the way back to the switcher.
#pragma once

#include <QByteArray>

class PanelView;
class ErrorSink;
struct PanelState;

class MessageSender {
public:
    virtual ~MessageSender() = default;
    virtual void SendToSwitcher(const QByteArray& message) = 0;
};

struct LinkContext {
    PanelState& state;
    PanelView& view;
    ErrorSink& log;
    MessageSender& sender;
};
