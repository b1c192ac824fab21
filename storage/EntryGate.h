// Keeps a flood of failures from filling the disk while losing none of what
// an operator needs: for each location, the first entries of a burst are
// written in full, the rest are only counted, and one summary entry says how
// many were held back once the burst has ended (and every so often while it
// lasts). Entries that come no faster than a few per second are all written.
#pragma once

#include <QDateTime>
#include <QString>
#include <map>
#include <vector>

struct BurstLimits {
    int burstEntries = 10;       // written in full at the start of a burst
    double refillPerSecond = 2;  // a steady rate that never counts as a burst
    qint64 quietMs = 2000;       // a burst ends after this long without an entry
    qint64 summaryEveryMs = qint64{10} * 60 * 1000;  // a summary while a burst lasts
    std::size_t locations = 256;  // tracked at most; others are written as they come
};

class EntryGate {
public:
    using Limits = BurstLimits;

    // What was held back for one location since its last summary.
    struct Summary {
        QString location;
        QString lastDescription;
        qint64 held;
        QDateTime lastAt;
    };

    explicit EntryGate(Limits limits = {}) : m_limits(limits) {}

    // Whether an entry at this location may be written now; false counts it.
    bool admit(const QString& location, const QString& description, const QDateTime& now);
    // The summaries due at now: of bursts that have ended, and of bursts that
    // have run long since their last summary. With everything, all of them.
    std::vector<Summary> dueSummaries(const QDateTime& now, bool everything = false);
    bool holding() const;

private:
    struct Burst {
        double tokens = 0;
        QDateTime refilledAt;
        bool holding = false;
        qint64 held = 0;
        QString lastDescription;
        QDateTime lastHeldAt;
        QDateTime summarisedAt;
    };

    Limits m_limits;
    std::map<QString, Burst> m_bursts;  // by location
};
