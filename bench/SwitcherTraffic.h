// What a switcher sends, built for the benchmarks: a message of each kind the
// panel decodes, a long burst of mixed messages, and the whole answer of a
// large switcher at start-up.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace Traffic {

constexpr int Channels = 1536;            // sources, and destinations
constexpr int MapDestinations = 1025;     // the crosspoint map's size
constexpr int16_t LastAnswerCode = 1234;  // what the answer's last message sets

// A gain report: codes[i] is the gain of channel first + i at the stage.
QByteArray gainReport(uint8_t stage, int first, const std::vector<int16_t>& codes);
// count advanced gain entries at stage 15, one per destination from 0 on.
QByteArray advancedGains(int count);
// count 8-character labels of one side (kind 10 sources, 20 destinations).
QByteArray alphaTable(uint8_t kind, int count);
// count link values of one side, from channel first on.
QByteArray linkTable(uint8_t kind, int first, int count);
// destinations blocks from destination 0 on, each listing one source.
QByteArray crosspointMap(int destinations);

// count messages that cycle through every kind the switcher sends between
// start-ups (gains of each layout, tables, short messages), end to end.
QByteArray mixedBurst(int count);

// The answer to the start-up information request: both alpha and link tables
// for Channels sources and destinations, the crosspoint map, and the gains of
// every channel at stages 1, 3 and 15, channelsPerMessage channels to a gain
// message. Its last message sets the stage-15 gain of the last destination to
// LastAnswerCode, so its arrival can be seen in the panel's tables.
QByteArray startUpAnswer(int channelsPerMessage);

// The switcher's type request, which starts the exchange.
QByteArray typeRequest();

}  // namespace Traffic
