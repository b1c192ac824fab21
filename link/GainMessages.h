// Gain messages (0xE3): the gain change the panel sends when a fader moves,
// and the gain reports of the switcher, stored in InputGains and OutputGains.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

#include "LinkContext.h"
#include "SwitcherLinkPort.h"

// The framed message for one channel, or nothing when a value does not fit
// its 7-bit field (negative, or a stage above 127, a channel, code or extra
// above 16383). An extra of SwitcherLinkPort::NoExtra means none.
std::optional<QByteArray> EncodeGainChange(int16_t stage, int16_t code, int16_t channel,
                                           int16_t extra);
// The framed message giving count channels from firstChannel on the same code.
std::optional<QByteArray> EncodeStereoGainChange(int16_t stage, int16_t code, int16_t firstChannel,
                                                 int16_t count);

void SendGainChange(LinkContext& ctx, int16_t stage, int16_t code, int16_t channel, int16_t extra);
void SendStereoGainChange(LinkContext& ctx, int16_t stage, int16_t code, int16_t firstChannel,
                          int16_t count);

void ReceiveGain(LinkContext& ctx, const QByteArray& message);
