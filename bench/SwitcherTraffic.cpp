// The switcher's messages, built with the link's own encoders where it has
// one for the switcher's side, and in the frame helpers otherwise.
#include "SwitcherTraffic.h"

#include <algorithm>

#include "AdvancedGain.h"
#include "AlphaTables.h"
#include "CrosspointMap.h"
#include "Frame.h"
#include "LinkTables.h"
#include "TableKinds.h"

namespace Traffic {
namespace {
constexpr uint8_t LabelWidth = 8;

// A plausible code for a channel: anywhere on the fader's travel.
int16_t codeFor(int channel) { return static_cast<int16_t>(24 + (channel * 7) % 1240); }

}  // namespace

QByteArray gainReport(uint8_t stage, int first, const std::vector<int16_t>& codes) {
    QByteArray data;
    data.append('\0');  // not examined by the panel
    data.append(static_cast<char>(stage));
    Frame::append7BitPair(data, static_cast<int>(codes.size()));
    Frame::append7BitPair(data, first);
    for (const int16_t code : codes) Frame::append7BitPair(data, code);
    return Frame::buildMessage(Frame::Command::Gain, data);
}

QByteArray advancedGains(int count) {
    std::vector<AdvancedGainEntry> entries;
    for (int i = 0; i < count; ++i) {
        AdvancedGainEntry entry;
        entry.stage = 15;
        entry.code = codeFor(i);
        entry.channel = i;
        entries.push_back(entry);
    }
    return encodeAdvancedGain(entries);
}

QByteArray alphaTable(uint8_t kind, int count) {
    std::vector<AlphaLabel> labels;
    labels.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        labels.push_back(
            {QByteArray(kind == TableKind::Sources ? "In " : "Out ") + QByteArray::number(i),
             i % 4096});
    }
    return encodeAlphaTable(kind, LabelWidth, 0, labels);
}

QByteArray linkTable(uint8_t kind, int first, int count) {
    std::vector<int16_t> values;
    values.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) values.push_back(static_cast<int16_t>((first + i) % 2));
    return encodeLinks(kind, first, values);
}

QByteArray crosspointMap(int destinations) {
    std::vector<CrosspointBlock> blocks;
    blocks.reserve(static_cast<size_t>(std::max(destinations, 0)));
    for (int d = 0; d < destinations; ++d) {
        blocks.push_back({0, {{d % 1024, 1024}}});
    }
    return encodeCrosspointMap(0, blocks);
}

QByteArray mixedBurst(int count) {
    const std::vector<QByteArray> kinds = {
        gainReport(15, 5, {1024}),
        gainReport(3, 10, {900, 900}),
        gainReport(1, 20, {1100}),
        advancedGains(2),
        QByteArray(1, static_cast<char>(Frame::KeepAliveQuestion)),
        linkTable(TableKind::Sources, 30, 2),
        gainReport(16, 7, {1000}),  // a stage the panel does not keep
        QByteArray(1, static_cast<char>(Frame::ShortNoAction1)),
        alphaTable(TableKind::Destinations, 2),
        crosspointMap(1),
    };
    QByteArray burst;
    for (int i = 0; i < count; ++i) burst += kinds[static_cast<size_t>(i) % kinds.size()];
    return burst;
}

QByteArray startUpAnswer(int channelsPerMessage) {
    QByteArray answer =
        alphaTable(TableKind::Sources, Channels) + alphaTable(TableKind::Destinations, Channels) +
        linkTable(TableKind::Sources, 0, Channels) +
        linkTable(TableKind::Destinations, 0, Channels) + crosspointMap(MapDestinations);
    for (const uint8_t stage : {uint8_t{1}, uint8_t{3}, uint8_t{15}}) {
        for (int first = 0; first < Channels; first += channelsPerMessage) {
            std::vector<int16_t> codes;
            for (int c = first; c < std::min(first + channelsPerMessage, Channels); ++c) {
                const bool last = stage == 15 && c == Channels - 1;
                codes.push_back(last ? LastAnswerCode : codeFor(c));
            }
            answer += gainReport(stage, first, codes);
        }
    }
    return answer;
}

QByteArray typeRequest() { return QByteArray::fromHex("816464ff"); }

}  // namespace Traffic
