#include "ModelMessages.h"

#include <QStringList>
#include <algorithm>

#include "AdvancedGain.h"
#include "AlphaTables.h"
#include "CrosspointMap.h"
#include "GainMessages.h"
#include "LinkTables.h"
#include "MessagePrinter.h"
#include "PanelState.h"
#include "TableKinds.h"

namespace {

constexpr int CrosspointValue = 1024;

struct TableBit {
    int32_t bit;
    const char* text;
};
constexpr TableBit TableBits[] = {
    {InfoBits::SourceNames, "source names"},
    {InfoBits::DestinationNames, "destination names"},
    {InfoBits::SourceLinks, "source links"},
    {InfoBits::DestinationLinks, "destination links"},
};

const char* sideText(uint8_t kind) { return kind == TableKind::Sources ? "source" : "destination"; }

Outgoing nameTable(const std::vector<SimChannel>& side, uint8_t kind) {
    std::vector<AlphaLabel> labels;
    labels.reserve(side.size());
    for (size_t i = 0; i < side.size(); ++i) labels.push_back({side[i].name, static_cast<int>(i)});
    return {encodeAlphaTable(kind, SwitcherModel::NameWidth, 0, labels),
            QStringLiteral("%1 names, %2 labels of %3 characters")
                .arg(QLatin1String(sideText(kind)))
                .arg(side.size())
                .arg(SwitcherModel::NameWidth)};
}

Outgoing linkTable(const std::vector<SimChannel>& side, uint8_t kind) {
    std::vector<int16_t> values;
    values.reserve(side.size());
    int pairs = 0;
    for (const SimChannel& channel : side) {
        values.push_back(channel.link);
        if (channel.link == 1) ++pairs;
    }
    return {encodeLinks(kind, 0, values), QStringLiteral("%1 links, %2 channels, stereo pairs: %3")
                                              .arg(QLatin1String(sideText(kind)))
                                              .arg(side.size())
                                              .arg(pairs)};
}

// Destination d is fed by source d (modulo the source count) at 0 dB.
Outgoing crosspoints(const SwitcherModel& model) {
    const int sources = static_cast<int>(model.sources().size());
    std::vector<CrosspointBlock> blocks;
    for (size_t d = 0; d < model.destinations().size(); ++d) {
        blocks.push_back({0, {{static_cast<int>(d) % sources, CrosspointValue}}});
    }
    return {encodeCrosspointMap(0, blocks),
            QStringLiteral("crosspoint map, %1 destinations").arg(blocks.size())};
}

std::vector<Outgoing> advancedReports(const GainRun& run, const std::vector<int16_t>& codes) {
    std::vector<Outgoing> reports;
    for (size_t from = 0; from < codes.size(); from += MaxAdvancedGainEntries) {
        const size_t to = std::min(codes.size(), from + MaxAdvancedGainEntries);
        std::vector<AdvancedGainEntry> entries;
        for (size_t i = from; i < to; ++i) {
            entries.push_back({0, run.stage, codes[i], run.first + static_cast<int>(i)});
        }
        const std::vector<int16_t> part(codes.begin() + static_cast<qsizetype>(from),
                                        codes.begin() + static_cast<qsizetype>(to));
        reports.push_back({encodeAdvancedGain(entries),
                           QStringLiteral("advanced gain report ") +
                               gainsText(run.stage, run.first + static_cast<int>(from), part)});
    }
    return reports;
}

}  // namespace

std::vector<Outgoing> gainReports(const SwitcherModel& model, const GainRun& run, bool advanced) {
    const std::vector<int16_t> codes = model.gains(run);
    if (advanced) return advancedReports(run, codes);
    return {{encodeGainReport(run.stage, run.first, codes),
             QStringLiteral("gain report ") + gainsText(run.stage, run.first, codes)}};
}

std::vector<Outgoing> answerInfoRequest(const SwitcherModel& model, int32_t code, bool advanced) {
    std::vector<Outgoing> answer;
    if (code & InfoBits::SourceNames)
        answer.push_back(nameTable(model.sources(), TableKind::Sources));
    if (code & InfoBits::DestinationNames) {
        answer.push_back(nameTable(model.destinations(), TableKind::Destinations));
    }
    if (code & InfoBits::SourceLinks)
        answer.push_back(linkTable(model.sources(), TableKind::Sources));
    if (code & InfoBits::DestinationLinks) {
        answer.push_back(linkTable(model.destinations(), TableKind::Destinations));
    }
    answer.push_back(crosspoints(model));
    for (const uint8_t stage : SwitcherModel::ShownStages) {
        const GainRun all{stage, 0, static_cast<int>(model.channelsAt(stage).size())};
        for (Outgoing& report : gainReports(model, all, advanced)) {
            answer.push_back(std::move(report));
        }
    }
    return answer;
}

QString requestedTablesText(int32_t code) {
    QStringList tables;
    for (const TableBit& table : TableBits) {
        if (code & table.bit) tables << QLatin1String(table.text);
    }
    return tables.isEmpty() ? QStringLiteral("no tables") : tables.join(QStringLiteral(", "));
}
