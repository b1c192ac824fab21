// How long the panel waits before each automatic reconnection attempt: 1 s
// after a loss, doubling with every attempt that fails, never more than 30 s.
// Whole seconds, so the wait can be shown as a countdown.
#pragma once

class ReconnectPolicy {
public:
    static constexpr int FirstDelaySeconds = 1;
    static constexpr int LongestDelaySeconds = 30;

    // The delay before the next attempt; each call lengthens the one after.
    int nextDelaySeconds();
    // Back to the first delay, once the switcher has answered in full.
    void reset() { m_next = FirstDelaySeconds; }

private:
    int m_next = FirstDelaySeconds;
};
