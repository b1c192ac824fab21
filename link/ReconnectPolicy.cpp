#include "ReconnectPolicy.h"

#include <algorithm>

int ReconnectPolicy::NextDelaySeconds() {
    const int delay = next_;
    next_ = std::min(next_ * 2, LongestDelaySeconds);
    return delay;
}
