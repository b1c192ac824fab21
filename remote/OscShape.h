// Whether a datagram is soundly shaped OSC, checked before the OSC library
// reads it: every string ends within its packet, every argument and bundle
// element fits, nesting stops at a sane depth. The library takes the sizes
// written in a packet on trust in places (a zero-sized bundle element holds
// its reader in place for ever, a blob's size can run its reader off the
// end), so a datagram from the network reaches it only once this holds.
#pragma once

#include <cstddef>

bool isSoundOsc(const char* data, std::size_t size);
