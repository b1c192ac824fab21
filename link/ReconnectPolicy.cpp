#include "ReconnectPolicy.h"

#include <algorithm>

int ReconnectPolicy::nextDelaySeconds() {
    const int delay = m_next;
    m_next = std::min(m_next * 2, LongestDelaySeconds);
    return delay;
}
