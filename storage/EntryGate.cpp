// Per location a token bucket: each entry takes a token, tokens come back at
// a steady rate up to the burst size. An entry that finds none starts a
// burst, and the burst holds every entry of its location until it goes quiet.
#include "EntryGate.h"

#include <algorithm>

bool EntryGate::admit(const QString& location, const QString& description, const QDateTime& now) {
    auto found = m_bursts.find(location);
    if (found == m_bursts.end()) {
        if (m_bursts.size() >= m_limits.locations) return true;
        Burst fresh;
        fresh.tokens = m_limits.burstEntries;
        fresh.refilledAt = now;
        found = m_bursts.emplace(location, fresh).first;
    }
    Burst& burst = found->second;
    const qint64 elapsedMs = std::max<qint64>(burst.refilledAt.msecsTo(now), 0);
    burst.tokens = std::min(double(m_limits.burstEntries),
                            burst.tokens + double(elapsedMs) * m_limits.refillPerSecond / 1000);
    burst.refilledAt = now;
    if (!burst.holding && burst.tokens >= 1) {
        burst.tokens -= 1;
        return true;
    }
    if (!burst.holding) {
        burst.holding = true;
        burst.summarisedAt = now;
    }
    ++burst.held;
    burst.lastDescription = description;
    burst.lastHeldAt = now;
    return false;
}

std::vector<EntryGate::Summary> EntryGate::dueSummaries(const QDateTime& now, bool everything) {
    std::vector<Summary> due;
    for (auto& [location, burst] : m_bursts) {
        if (!burst.holding) continue;
        const bool ended = everything || burst.lastHeldAt.msecsTo(now) >= m_limits.quietMs;
        const bool longRunning = burst.summarisedAt.msecsTo(now) >= m_limits.summaryEveryMs;
        if (!ended && !longRunning) continue;
        if (burst.held > 0) {
            due.push_back({location, burst.lastDescription, burst.held, burst.lastHeldAt});
        }
        burst.held = 0;
        burst.summarisedAt = now;
        if (ended) burst.holding = false;
    }
    return due;
}

bool EntryGate::holding() const {
    return std::any_of(m_bursts.begin(), m_bursts.end(),
                       [](const auto& entry) { return entry.second.holding; });
}
