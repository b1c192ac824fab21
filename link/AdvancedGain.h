// The advanced gain message (0xE0): the switcher's report of gain changes,
// any number of entries per message, each naming its own stage and channel.
// The decoder stores what the faders can show; the encoder builds the
// switcher's side of the exchange.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

#include "LinkContext.h"

bool ReceiveAdvancedGain(LinkContext& ctx, const QByteArray& message);

namespace AdvancedGainFlags {
constexpr uint8_t ExtraPair = 2;  // a further 7-bit pair follows the channel
constexpr uint8_t FadeTime = 4;   // a fade-time byte follows
}  // namespace AdvancedGainFlags

struct AdvancedGainEntry {
    uint8_t flags = 0;
    uint8_t stage = 0;
    int code = 0;  // gain code: 1024 is 0 dB
    int channel = 0;
    int extra = 0;         // sent only with AdvancedGainFlags::ExtraPair
    uint8_t fadeTime = 0;  // sent only with AdvancedGainFlags::FadeTime
};

constexpr uint8_t ExpectedAdvancedGainType = 0x40;
// The entry count is one data byte: entries past this many are left out and
// belong in a further message.
constexpr size_t MaxAdvancedGainEntries = 127;

QByteArray encodeAdvancedGain(const std::vector<AdvancedGainEntry>& entries,
                              uint8_t messageType = ExpectedAdvancedGainType);
