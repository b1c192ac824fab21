#include "SnapshotStore.h"

#include <QStringList>
#include <algorithm>
#include <optional>

#include "PanelIni.h"
#include "ProtocolConstants.h"

namespace {

const QString SnapshotPrefix = QStringLiteral("Snapshot ");
const QString Settings = QStringLiteral("Snapshots");
const QString FadeKey = QStringLiteral("Fade Seconds");
constexpr int MostFaders = 20;

std::optional<int16_t> int16Of(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < INT16_MIN || value > INT16_MAX) return std::nullopt;
    return static_cast<int16_t>(value);
}

int fileChannel(int16_t gainStage, int16_t channel) {
    return gainStage == GainStage::DeviceId ? channel : channel + 1;
}

std::optional<Snapshot> readSnapshot(const PanelIni& ini, const QString& section) {
    Snapshot snapshot;
    snapshot.name = ini.value(section, QStringLiteral("Name"));
    const std::optional<int16_t> stage = int16Of(ini.value(section, QStringLiteral("Gain Stage")));
    const std::optional<int16_t> count = int16Of(ini.value(section, QStringLiteral("Faders")));
    if (snapshot.name.isEmpty() || !stage || !count || *count < 1 || *count > MostFaders) {
        return std::nullopt;
    }
    snapshot.gainStage = *stage;
    for (int n = 1; n <= *count; ++n) {
        const auto key = [n](const char* name) {
            return QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(n);
        };
        const std::optional<int16_t> channel = int16Of(ini.value(section, key("Chan")));
        const std::optional<int16_t> link = int16Of(ini.value(section, key("Link")));
        const std::optional<int16_t> code = int16Of(ini.value(section, key("Gain")));
        if (!channel || !link || !code) return std::nullopt;
        const int stored = *stage == GainStage::DeviceId ? *channel : *channel - 1;
        if (stored < 0) return std::nullopt;
        snapshot.faders.push_back({static_cast<int16_t>(stored), *link == 1, *code});
    }
    return snapshot;
}

QList<QPair<QString, QString>> entriesOf(const Snapshot& snapshot) {
    QList<QPair<QString, QString>> entries{
        {QStringLiteral("Name"), snapshot.name},
        {QStringLiteral("Gain Stage"), QString::number(snapshot.gainStage)},
        {QStringLiteral("Faders"), QString::number(snapshot.faders.size())}};
    int n = 0;
    for (const SnapshotFader& fader : snapshot.faders) {
        ++n;
        entries.append({QStringLiteral("Chan %1").arg(n),
                        QString::number(fileChannel(snapshot.gainStage, fader.channel))});
        entries.append({QStringLiteral("Link %1").arg(n), fader.stereo ? "1" : "0"});
        entries.append({QStringLiteral("Gain %1").arg(n), QString::number(fader.code)});
    }
    return entries;
}

// "Snapshot 3" -> 3; 0 for a section of someone else.
int snapshotNumber(const QString& section) {
    if (!section.startsWith(SnapshotPrefix)) return 0;
    bool ok = false;
    const int number = section.mid(SnapshotPrefix.size()).toInt(&ok);
    return ok && number > 0 ? number : 0;
}

}  // namespace

SnapshotStore::SnapshotStore(PanelIni& ini) : m_ini(ini) {}

std::vector<Snapshot> SnapshotStore::load() const {
    QList<int> numbers;
    for (const QString& section : m_ini.sections()) {
        if (const int number = snapshotNumber(section)) numbers.append(number);
    }
    std::sort(numbers.begin(), numbers.end());
    std::vector<Snapshot> snapshots;
    for (const int number : numbers) {
        if (std::optional<Snapshot> snapshot =
                readSnapshot(m_ini, SnapshotPrefix + QString::number(number))) {
            snapshots.push_back(std::move(*snapshot));
        }
    }
    return snapshots;
}

void SnapshotStore::save(const std::vector<Snapshot>& snapshots) {
    const PanelIni::Batch once(m_ini);
    int n = 0;
    for (const Snapshot& snapshot : snapshots) {
        m_ini.replaceSection(SnapshotPrefix + QString::number(++n), entriesOf(snapshot));
    }
    for (const QString& section : m_ini.sections()) {
        if (snapshotNumber(section) > n) m_ini.removeSection(section);
    }
}

int SnapshotStore::fadeSeconds() const {
    const int seconds = m_ini.value(Settings, FadeKey, QStringLiteral("0")).toInt();
    return std::clamp(seconds, 0, LongestFadeSeconds);
}

void SnapshotStore::setFadeSeconds(int seconds) {
    m_ini.setValue(Settings, FadeKey, QString::number(std::clamp(seconds, 0, LongestFadeSeconds)));
}
