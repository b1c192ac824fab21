// A switcher that vanishes without closing the connection (cable pulled,
// power cut) would leave the link looking up for hours. TCP keepalive probes
// an idle connection after 5 s, every 2 s, and gives up after 5 unanswered
// probes; data the switcher never acknowledges gives up after the same 15 s.
// The socket then reports the connection closed, and the panel retries.
#pragma once

class QAbstractSocket;

namespace DeadPeer {
constexpr int IdleSeconds = 5;
constexpr int ProbeIntervalSeconds = 2;
constexpr int ProbeCount = 5;
constexpr int UnacknowledgedLimitMs = 15000;
}  // namespace DeadPeer

// For a connected socket. False when the platform refused any of the
// settings; the link works without them, only a dead peer is noticed late.
bool enableDeadPeerDetection(QAbstractSocket& socket);
