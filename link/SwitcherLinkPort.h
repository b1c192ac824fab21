// What the window asks of the switcher link.
#pragma once

#include <cstdint>

class SwitcherLinkPort {
public:
    static constexpr int16_t NoExtra = 16383;

    virtual ~SwitcherLinkPort() = default;
    virtual void SendGainMessage(int16_t stage, int16_t code, int16_t channel, int16_t extra) = 0;
    virtual void SendStereoGainMessage(int16_t stage, int16_t code, int16_t firstChannel,
                                       int16_t count) = 0;
    virtual void ConnectToSwitcher() = 0;
    virtual void DisconnectFromSwitcher() = 0;
};

// Stands in for the link where none is wanted: sends and connects nothing.
class NullSwitcherLink : public SwitcherLinkPort {
public:
    void SendGainMessage(int16_t, int16_t, int16_t, int16_t) override {}
    void SendStereoGainMessage(int16_t, int16_t, int16_t, int16_t) override {}
    void ConnectToSwitcher() override {}
    void DisconnectFromSwitcher() override {}
};
