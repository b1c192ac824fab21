// The receive path's invariants, checked around every decoder call: each
// message handed over is one whole frame, the tables grow only as far as the
// message declares, the switcher's counts never fall, and request bits are
// cleared only by the answers that name them or set only by a request the
// decoder actually sent.
#pragma once

#include <QByteArray>
#include <QList>

#include "Dispatcher.h"
#include "LinkContext.h"

// Keeps what the panel sends and checks that each one is a single 0xF4 or a
// whole, well-formed frame.
class WatchedSender : public MessageSender {
public:
    void SendToSwitcher(const QByteArray& message) override;
    QList<QByteArray> sent;
};

// Every decoder of `real`, wrapped in the checks. `sender` must be the sender
// of the context the decoders run with.
DecoderTable watchedDecoders(const DecoderTable& real, const WatchedSender& sender);
