// The switcher's opening, played to the live panel.
#include "PanelOnSwitcher.h"

#include <QTest>

#include "SwitcherTraffic.h"

namespace {
constexpr int Patience = 5000;                // ms
constexpr qsizetype HandshakeBytes = 5 + 13;  // type reply, information request
}  // namespace

bool PanelOnSwitcher::Handshake() {
    if (!QTest::qWaitFor([this] { return switcher_.HasPanel(); }, Patience)) return false;
    switcher_.Send(Traffic::TypeRequest());
    return QTest::qWaitFor([this] { return switcher_.ReceivedCount() >= HandshakeBytes; },
                           Patience);
}
