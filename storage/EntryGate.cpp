// Per location a token bucket: each entry takes a token, tokens come back at
// a steady rate up to the burst size. An entry that finds none starts a
// burst, and the burst holds every entry of its location until it goes quiet.
#include "EntryGate.h"

#include <algorithm>

bool EntryGate::Admit(const QString& location, const QString& description, const QDateTime& now) {
    auto found = bursts_.find(location);
    if (found == bursts_.end()) {
        if (bursts_.size() >= limits_.locations) return true;
        Burst fresh;
        fresh.tokens = limits_.burstEntries;
        fresh.refilledAt = now;
        found = bursts_.emplace(location, fresh).first;
    }
    Burst& burst = found->second;
    const qint64 elapsedMs = std::max<qint64>(burst.refilledAt.msecsTo(now), 0);
    burst.tokens = std::min(double(limits_.burstEntries),
                            burst.tokens + double(elapsedMs) * limits_.refillPerSecond / 1000);
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

std::vector<EntryGate::Summary> EntryGate::DueSummaries(const QDateTime& now, bool everything) {
    std::vector<Summary> due;
    for (auto& [location, burst] : bursts_) {
        if (!burst.holding) continue;
        const bool ended = everything || burst.lastHeldAt.msecsTo(now) >= limits_.quietMs;
        const bool longRunning = burst.summarisedAt.msecsTo(now) >= limits_.summaryEveryMs;
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

bool EntryGate::Holding() const {
    return std::any_of(bursts_.begin(), bursts_.end(),
                       [](const auto& entry) { return entry.second.holding; });
}
