// Gain messages (0xE3): the gain change the panel sends when a fader moves,
// and the gain reports of the switcher, stored in InputGains and OutputGains.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

#include "LinkContext.h"
#include "SwitcherLinkPort.h"

// The framed message for one channel, or nothing when a value does not fit
// its 7-bit field (negative, or a stage above 127, a channel, code or extra
// above 16383). An extra of SwitcherLinkPort::NoExtra means none.
std::optional<QByteArray> encodeGainChange(int16_t stage, int16_t code, int16_t channel,
                                           int16_t extra);
// The framed message giving count channels from firstChannel on the same code.
std::optional<QByteArray> encodeStereoGainChange(int16_t stage, int16_t code, int16_t firstChannel,
                                                 int16_t count);

// A gain report: one code per channel from firstChannel on, in the layout of
// the panel's own gain change (two bytes per channel). Meant for the stages
// the faders show (1, 3, 15).
QByteArray encodeGainReport(uint8_t stage, int firstChannel, const std::vector<int16_t>& codes);

// What a panel asks for in a gain change: codes[i] for channel firstChannel + i.
struct GainChange {
    uint8_t stage = 0;
    int firstChannel = 0;
    std::vector<int16_t> codes;
    std::optional<int16_t> extra;  // the optional pair after a single channel's code
};

// The gain change in a whole received message (command byte to end byte), or
// nothing when its checksum, its length or its count is wrong.
std::optional<GainChange> decodeGainChange(const QByteArray& message);

void sendGainChange(LinkContext& ctx, int16_t stage, int16_t code, int16_t channel, int16_t extra);
void sendStereoGainChange(LinkContext& ctx, int16_t stage, int16_t code, int16_t firstChannel,
                          int16_t count);

bool ReceiveGain(LinkContext& ctx, const QByteArray& message);
