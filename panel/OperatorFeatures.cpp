#include "OperatorFeatures.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <algorithm>
#include <cmath>

#include "FaderBank.h"
#include "FaderStrip.h"
#include "GainReadout.h"
#include "JournalDialog.h"
#include "MoveJournal.h"
#include "OperatorMoves.h"
#include "OptionsDialog.h"
#include "PanelState.h"
#include "RemoteBridge.h"
#include "RemoteServer.h"
#include "RemoteSettingsStore.h"
#include "SnapshotRecall.h"

namespace {

constexpr int ShortcutSnapshots = 9;  // Ctrl+1 to Ctrl+9

// "fader 3 to -6.0 dB", "the recall of "Show start"", "4 faders".
QString gestureText(const Gesture& gesture) {
    if (gesture.source == MoveSource::Snapshot) {
        return QStringLiteral("recall of \"%1\"").arg(gesture.label);
    }
    if (gesture.changes.size() == 1) {
        const FaderChange& change = gesture.changes.front();
        return QStringLiteral("fader %1 to %2")
            .arg(change.fader + 1)
            .arg(gainDecibelText(change.after));
    }
    return QStringLiteral("%1 faders").arg(gesture.changes.size());
}

}  // namespace

OperatorFeatures::OperatorFeatures(PanelState& state, FaderBank& bank, FaderGainControl& gain,
                                   ErrorSink& log, const QString& settingsFolder,
                                   const QString& journalFolder, QWidget* window)
    : m_state(state),
      m_bank(bank),
      m_window(window),
      m_ini(settingsFolder, log),
      m_store(m_ini),
      m_safety(m_ini),
      m_journal(journalFolder),
      m_moves(std::make_unique<OperatorMoves>(state, bank, gain)),
      m_moveJournal(std::make_unique<MoveJournal>(state, m_journal)),
      m_recall(std::make_unique<SnapshotRecall>(state, bank, *m_moves)),
      m_bridge(std::make_unique<RemoteBridge>(
          state, bank, *m_moves,
          [this](const QString& name, std::optional<double> fade, const QString& sender) {
              return recallSnapshotNamed(name, fade, sender);
          })),
      m_remote(std::make_unique<RemoteServer>(*m_bridge, log)) {
    m_ini.read();
    m_snapshots = m_store.load();
    connect(m_moves.get(), &OperatorMoves::gestureFinished, this,
            &OperatorFeatures::gestureFinished);
    connect(m_moves.get(), &OperatorMoves::moved, m_moveJournal.get(),
            [this](int fader, int16_t /*code*/) { m_moveJournal->moved(fader); });
    connect(m_moves.get(), &OperatorMoves::faderTouched, m_recall.get(),
            &SnapshotRecall::stopFader);
    for (int i = 0; i < bank.stripCount(); ++i) watchStrip(i, &bank.strip(i));
    connect(&bank, &FaderBank::stripAdded, this, &OperatorFeatures::watchStrip);
    applyCeiling();
    m_remote->apply(loadRemoteSettings(m_ini));
}

QString OperatorFeatures::recallSnapshotNamed(const QString& name,
                                              std::optional<double> fadeSeconds,
                                              const QString& sender) {
    const auto found = std::find_if(m_snapshots.begin(), m_snapshots.end(),
                                    [&](const Snapshot& s) { return s.name == name; });
    if (found == m_snapshots.end()) return QStringLiteral("No snapshot \"%1\"").arg(name.left(64));
    const double seconds = std::clamp(fadeSeconds.value_or(m_store.fadeSeconds()), 0.0,
                                      double{SnapshotStore::LongestFadeSeconds});
    return m_recall->recall(*found, static_cast<int>(std::lround(seconds * 1000)), sender);
}

void OperatorFeatures::setRemoteSettings(const RemoteSettings& settings) {
    saveRemoteSettings(m_ini, settings);
    m_remote->apply(settings);
}

// A strip, new or not, takes its position's lock and the ceiling, and keeps
// its lock in "Panel.ini" when the operator changes it.
void OperatorFeatures::watchStrip(int fader, FaderStrip* strip) {
    strip->setLocked(m_safety.lockedFaders().count(fader) > 0);
    strip->setCeiling(m_safety.ceilingOf(m_state.GainStage));
    connect(strip, &FaderStrip::lockChanged, this,
            [this, fader](bool locked) { m_safety.setLocked(fader, locked); });
}

void OperatorFeatures::applyCeiling() {
    const std::optional<int16_t> ceiling = m_safety.ceilingOf(m_state.GainStage);
    m_moves->setCeiling(ceiling);
    for (int i = 0; i < m_bank.stripCount(); ++i) m_bank.strip(i).setCeiling(ceiling);
}

void OperatorFeatures::setCeilings(const SafetyStore::Ceilings& ceilings) {
    m_safety.setCeilings(ceilings);
    applyCeiling();
}

void OperatorFeatures::showOptions() {
    OptionsDialog dialog(PanelOptions{m_safety.ceilings(), loadRemoteSettings(m_ini)}, m_window);
    if (dialog.exec() == QDialog::Accepted && dialog.choices()) {
        const PanelIni::Batch once(m_ini);
        setCeilings(dialog.choices()->ceilings);
        setRemoteSettings(dialog.choices()->remote);
    }
}

OperatorFeatures::~OperatorFeatures() = default;

void OperatorFeatures::addMenus(QMenuBar* bar, QAction* before) {
    m_mnuEdit = new QMenu(QStringLiteral("&Edit"), bar);
    m_mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    m_mnuUndo = m_mnuEdit->addAction(QStringLiteral("&Undo"), this, &OperatorFeatures::undo);
    m_mnuUndo->setShortcut(QKeySequence::Undo);
    m_mnuRedo = m_mnuEdit->addAction(QStringLiteral("&Redo"), this, &OperatorFeatures::redo);
    m_mnuRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    m_mnuEdit->addSeparator();
    m_mnuEdit->addAction(QStringLiteral("Operator &Journal..."), this,
                         &OperatorFeatures::showJournal);
    m_mnuEdit->addAction(QStringLiteral("&Options..."), this, &OperatorFeatures::showOptions);
    bar->insertMenu(before, m_mnuEdit);

    m_mnuSnapshots = new QMenu(QStringLiteral("&Snapshots"), bar);
    m_mnuSnapshots->setObjectName(QStringLiteral("mnuSnapshots"));
    bar->insertMenu(before, m_mnuSnapshots);
    refreshEditMenu();
    refreshSnapshotsMenu();
}

void OperatorFeatures::gainReported(int16_t stage, int channel) {
    m_moveJournal->gainReported(stage, channel);
}

void OperatorFeatures::linkChanged(const LinkStatus& status) {
    m_moveJournal->linkChanged(status);
    m_bridge->setLinkStatus(status);
}

void OperatorFeatures::setupChanged(int16_t oldStage, const std::vector<int16_t>& oldChannels) {
    applyCeiling();
    if (oldStage == m_state.GainStage && oldChannels == m_state.Chan) return;
    m_recall->stop();
    m_moves->finishGestures();
    m_history.clear();
    refreshEditMenu();
}

void OperatorFeatures::shutDown() {
    m_recall->stop();
    m_moves->finishGestures();
    m_moveJournal->flush();
    m_ini.write();
}

void OperatorFeatures::gestureFinished(const Gesture& gesture) {
    if (gesture.source != MoveSource::Undo && gesture.source != MoveSource::Redo) {
        m_history.record(gesture);
    }
    m_moveJournal->track(gesture);
    refreshEditMenu();
}

// Each fader the gesture moved goes back to the gain its channel had before
// it (an undo) or again to the one it ended on (a redo), as one gesture.
void OperatorFeatures::sendBack(const Gesture& gesture, MoveSource source, bool undoing) {
    m_moves->begin(source, gesture.label);
    for (const FaderChange& change : gesture.changes) {
        m_moves->move(change.fader, undoing ? change.before : change.after);
    }
    m_moves->end();
}

void OperatorFeatures::undo() { takeStep(true); }

void OperatorFeatures::redo() { takeStep(false); }

// What is under way ends first, so that it is a step of its own.
void OperatorFeatures::takeStep(bool undoing) {
    m_recall->stop();
    m_moves->finishGestures();
    if (const std::optional<Gesture> gesture = undoing ? m_history.undo() : m_history.redo()) {
        sendBack(*gesture, undoing ? MoveSource::Undo : MoveSource::Redo, undoing);
    }
    refreshEditMenu();
}

void OperatorFeatures::refreshEditMenu() {
    if (!m_mnuUndo) return;
    const Gesture* undo = m_history.nextUndo();
    const Gesture* redo = m_history.nextRedo();
    m_mnuUndo->setEnabled(undo != nullptr);
    m_mnuUndo->setText(undo ? QStringLiteral("&Undo: ") + gestureText(*undo)
                            : QStringLiteral("&Undo"));
    m_mnuRedo->setEnabled(redo != nullptr);
    m_mnuRedo->setText(redo ? QStringLiteral("&Redo: ") + gestureText(*redo)
                            : QStringLiteral("&Redo"));
}

void OperatorFeatures::storeSnapshot(const QString& name) {
    Snapshot snapshot = m_recall->capture(name);
    const auto same = std::find_if(m_snapshots.begin(), m_snapshots.end(),
                                   [&](const Snapshot& s) { return s.name == name; });
    if (same != m_snapshots.end()) {
        *same = std::move(snapshot);
    } else {
        m_snapshots.push_back(std::move(snapshot));
    }
    saveSnapshots();
}

QString OperatorFeatures::recallSnapshot(int index) {
    if (index < 0 || index >= static_cast<int>(m_snapshots.size())) return QString();
    return m_recall->recall(m_snapshots[static_cast<size_t>(index)], m_store.fadeSeconds() * 1000);
}

void OperatorFeatures::saveSnapshots() {
    m_store.save(m_snapshots);
    refreshSnapshotsMenu();
}

// Rebuilt whenever the snapshots change, so that Ctrl+1 to Ctrl+9 recall
// without the menu ever being opened.
void OperatorFeatures::refreshSnapshotsMenu() {
    if (!m_mnuSnapshots) return;
    m_mnuSnapshots->clear();
    m_mnuSnapshots->addAction(QStringLiteral("&Store Levels..."), this,
                              &OperatorFeatures::askToStore);
    m_mnuSnapshots->addSeparator();
    for (int i = 0; i < static_cast<int>(m_snapshots.size()); ++i) {
        const QString name = m_snapshots[static_cast<size_t>(i)].name;
        const bool numbered = i < ShortcutSnapshots;
        QAction* action = m_mnuSnapshots->addAction(
            numbered ? QStringLiteral("&%1 %2").arg(i + 1).arg(name) : name, this,
            [this, i] { recallChosen(i); });
        if (numbered) action->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_1 + i)));
    }
    if (!m_snapshots.empty()) m_mnuSnapshots->addSeparator();
    const bool any = !m_snapshots.empty();
    m_mnuSnapshots->addAction(QStringLiteral("Re&name..."), this, &OperatorFeatures::askToRename)
        ->setEnabled(any);
    m_mnuSnapshots->addAction(QStringLiteral("&Delete..."), this, &OperatorFeatures::askToDelete)
        ->setEnabled(any);
    m_mnuSnapshots->addAction(QStringLiteral("&Fade Time (%1 s)...").arg(m_store.fadeSeconds()),
                              this, &OperatorFeatures::askFadeTime);
}

void OperatorFeatures::recallChosen(int index) {
    const QString refusal = recallSnapshot(index);
    if (refusal.isEmpty()) return;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Snapshot Not Recalled"), refusal,
                    QMessageBox::Ok, m_window);
    box.exec();
}

void OperatorFeatures::askToStore() {
    bool ok = false;
    const QString name =
        QInputDialog::getText(m_window, QStringLiteral("Store Levels"), QStringLiteral("Name:"),
                              QLineEdit::Normal,
                              QStringLiteral("Snapshot %1").arg(m_snapshots.size() + 1), &ok)
            .simplified();
    if (ok && !name.isEmpty()) storeSnapshot(name);
}

int OperatorFeatures::chooseSnapshot(const QString& title) {
    QStringList names;
    for (const Snapshot& snapshot : m_snapshots) names << snapshot.name;
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(m_window, title, QStringLiteral("Snapshot:"), names, 0, false, &ok);
    return ok ? static_cast<int>(names.indexOf(chosen)) : -1;
}

void OperatorFeatures::askToRename() {
    const int index = chooseSnapshot(QStringLiteral("Rename Snapshot"));
    if (index < 0) return;
    Snapshot& snapshot = m_snapshots[static_cast<size_t>(index)];
    bool ok = false;
    const QString name =
        QInputDialog::getText(m_window, QStringLiteral("Rename Snapshot"),
                              QStringLiteral("New name:"), QLineEdit::Normal, snapshot.name, &ok)
            .simplified();
    if (!ok || name.isEmpty()) return;
    snapshot.name = name;
    saveSnapshots();
}

void OperatorFeatures::askToDelete() {
    const int index = chooseSnapshot(QStringLiteral("Delete Snapshot"));
    if (index < 0) return;
    m_snapshots.erase(m_snapshots.begin() + index);
    saveSnapshots();
}

void OperatorFeatures::askFadeTime() {
    bool ok = false;
    const int seconds =
        QInputDialog::getInt(m_window, QStringLiteral("Fade Time"),
                             QStringLiteral("Seconds a recall takes (0: at once):"),
                             m_store.fadeSeconds(), 0, SnapshotStore::LongestFadeSeconds, 1, &ok);
    if (!ok) return;
    m_store.setFadeSeconds(seconds);
    refreshSnapshotsMenu();
}

void OperatorFeatures::showJournal() {
    if (!m_journalDialog) m_journalDialog = new JournalDialog(m_journal.filePath(), m_window);
    m_journalDialog->show();
    m_journalDialog->raise();
    m_journalDialog->activateWindow();
}
