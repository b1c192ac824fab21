// The switcher's opening, played to the live panel.
#include "PanelOnSwitcher.h"

#include <QTest>

#include "SwitcherTraffic.h"

namespace {
constexpr int Patience = 5000;                // ms
constexpr qsizetype HandshakeBytes = 5 + 13;  // type reply, information request
}  // namespace

bool PanelOnSwitcher::handshake() {
    if (!QTest::qWaitFor([this] { return m_switcher.hasPanel(); }, Patience)) return false;
    m_switcher.send(Traffic::typeRequest());
    return QTest::qWaitFor([this] { return m_switcher.receivedCount() >= HandshakeBytes; },
                           Patience);
}
