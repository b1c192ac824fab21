#include "SafetyStore.h"

#include <QStringList>
#include <algorithm>

#include "GainCode.h"
#include "GainReadout.h"
#include "PanelIni.h"
#include "TypedGain.h"

namespace {

const QString Locks = QStringLiteral("Locks");
const QString CeilingsSection = QStringLiteral("Ceilings");
const QString FaderPrefix = QStringLiteral("Fader ");
const QString StagePrefix = QStringLiteral("Stage ");
constexpr int MostFaders = 20;

}  // namespace

SafetyStore::SafetyStore(PanelIni& ini) : m_ini(ini) {}

std::set<int> SafetyStore::lockedFaders() const {
    std::set<int> locked;
    for (const QString& key : m_ini.keys(Locks)) {
        if (!key.startsWith(FaderPrefix) || m_ini.value(Locks, key) != QStringLiteral("1"))
            continue;
        bool ok = false;
        const int number = key.mid(FaderPrefix.size()).toInt(&ok);
        if (ok && number >= 1 && number <= MostFaders) locked.insert(number - 1);
    }
    return locked;
}

void SafetyStore::setLocked(int fader, bool locked) {
    const QString key = FaderPrefix + QString::number(fader + 1);
    if (locked) {
        m_ini.setValue(Locks, key, QStringLiteral("1"));
    } else {
        m_ini.removeKey(Locks, key);
    }
}

SafetyStore::Ceilings SafetyStore::ceilings() const {
    Ceilings ceilings;
    for (const QString& key : m_ini.keys(CeilingsSection)) {
        bool ok = false;
        const int stage = key.startsWith(StagePrefix) ? key.mid(StagePrefix.size()).toInt(&ok) : 0;
        const std::optional<int> code = parseTypedGain(m_ini.value(CeilingsSection, key));
        if (!ok || !code) continue;
        ceilings[static_cast<int16_t>(stage)] =
            static_cast<int16_t>(std::clamp<int>(*code, GainCode::Off, GainCode::Top));
    }
    return ceilings;
}

std::optional<int16_t> SafetyStore::ceilingOf(int16_t stage) const {
    const Ceilings all = ceilings();
    const auto found = all.find(stage);
    return found == all.end() ? std::nullopt : found->second;
}

void SafetyStore::setCeilings(const Ceilings& ceilings) {
    QList<QPair<QString, QString>> entries;
    for (const auto& [stage, code] : ceilings) {
        if (code) entries.append({StagePrefix + QString::number(stage), gainDecibelText(*code)});
    }
    m_ini.replaceSection(CeilingsSection, entries);
}
