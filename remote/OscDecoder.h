// Reading one UDP datagram of OSC 1.0: a message, or a bundle of messages and
// bundles, into the commands it carries (in order) and what was wrong with
// it. Bytes go in, values come out: no socket, no panel. Fader numbers are
// 1-based on the wire and checked against the panel's fader count.
#pragma once

#include <QByteArray>

#include "RemoteCommand.h"

RemoteDatagram decodeOscDatagram(const QByteArray& datagram, int faderCount);
