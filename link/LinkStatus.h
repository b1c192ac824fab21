// What the panel knows about its link to the switcher, as the window shows it.
#pragma once

#include <QString>
#include <QTime>
#include <cstdint>

enum class LinkPhase {
    Down,          // not connected and not trying
    Connecting,    // an attempt the operator or start-up asked for
    Waiting,       // connected; the switcher has not finished its handshake
    Live,          // type request answered and the tables received
    RetryWait,     // lost; counting down to the next automatic attempt
    RetryAttempt,  // lost; an automatic attempt is under way
};

struct LinkStatus {
    LinkPhase phase = LinkPhase::Down;
    QString address;  // where the panel connects or is connected
    int32_t port = 0;
    int sources = 0;  // Live only: the switcher's channel counts
    int destinations = 0;
    // Retrying only: when the trouble began, and whether a link that was up
    // went down (as opposed to attempts that never got through).
    QTime since;
    bool linkWasUp = false;
    int retryInSeconds = 0;  // RetryWait only

    bool operator==(const LinkStatus& other) const {
        return phase == other.phase && address == other.address && port == other.port &&
               sources == other.sources && destinations == other.destinations &&
               since == other.since && linkWasUp == other.linkWasUp &&
               retryInSeconds == other.retryInSeconds;
    }
    bool operator!=(const LinkStatus& other) const { return !(*this == other); }
};
