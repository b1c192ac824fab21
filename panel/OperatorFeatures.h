// What the panel offers beyond the switcher panel operators have always had:
// snapshots of the levels to recall, undo and redo of the operator's
// gestures, and the operator's journal. They live beside the historic panel:
// their menus come after File, their settings go to "Panel.ini", their
// record to "Operator.log", and their moves take the operator's own road.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

#include "LinkStatus.h"
#include "OperatorJournal.h"
#include "PanelIni.h"
#include "RemoteSettings.h"
#include "SafetyStore.h"
#include "Snapshot.h"
#include "SnapshotStore.h"
#include "UndoHistory.h"

class ErrorSink;
class FaderBank;
class FaderGainControl;
class JournalDialog;
class MoveJournal;
class OperatorMoves;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class RemoteBridge;
class RemoteServer;
class SnapshotRecall;
struct PanelState;

class OperatorFeatures : public QObject {
    Q_OBJECT
public:
    // settingsFolder holds "Panel.ini", journalFolder "Operator.log"; both
    // end in a separator.
    OperatorFeatures(PanelState& state, FaderBank& bank, FaderGainControl& gain, ErrorSink& log,
                     const QString& settingsFolder, const QString& journalFolder, QWidget* window);
    ~OperatorFeatures() override;

    // The Edit and Snapshots menus, put before the menu "before" (Help).
    void addMenus(QMenuBar* bar, QAction* before);

    void gainReported(int16_t stage, int channel);
    void linkChanged(const LinkStatus& status);
    // After the setup dialog: a new gain stage or other channels make the
    // history meaningless, so it goes.
    void setupChanged(int16_t oldStage, const std::vector<int16_t>& oldChannels);
    // At exit: the gestures under way end, the journal gets its last lines
    // and "Panel.ini" is written.
    void shutDown();

    void undo();
    void redo();
    // Stores the levels as they stand under a name (replacing a snapshot of
    // that name).
    void storeSnapshot(const QString& name);
    // Empty when the recall started; else why it could not.
    QString recallSnapshot(int index);
    const std::vector<Snapshot>& snapshots() const { return m_snapshots; }
    void setFadeSeconds(int seconds) { m_store.setFadeSeconds(seconds); }

    // Recalls the snapshot of that name; the fade (seconds, 0 to 30) as
    // given, else as set, for a remote sender. Empty when it started, else
    // why not.
    QString recallSnapshotNamed(const QString& name, std::optional<double> fadeSeconds,
                                const QString& sender);

    // Listens for remote control, or stops, as the settings say; kept.
    void setRemoteSettings(const RemoteSettings& settings);
    RemoteServer& remote() { return *m_remote; }

    // The gain ceilings by stage; the panel's own stage's applies at once.
    void setCeilings(const SafetyStore::Ceilings& ceilings);
    SafetyStore::Ceilings ceilings() const { return m_safety.ceilings(); }

    const UndoHistory& history() const { return m_history; }
    OperatorMoves& moves() { return *m_moves; }
    SnapshotRecall& recall() { return *m_recall; }
    const OperatorJournal& journal() const { return m_journal; }

private:
    void gestureFinished(const Gesture& gesture);
    void refreshEditMenu();
    void refreshSnapshotsMenu();
    void askToStore();
    void askToRename();
    void askToDelete();
    void askFadeTime();
    void recallChosen(int index);
    void showJournal();
    void showOptions();
    void watchStrip(int fader, class FaderStrip* strip);
    void applyCeiling();
    int chooseSnapshot(const QString& title);
    void takeStep(bool undoing);
    void sendBack(const Gesture& gesture, MoveSource source, bool undoing);
    void saveSnapshots();

    PanelState& m_state;
    FaderBank& m_bank;
    QWidget* m_window;
    PanelIni m_ini;
    SnapshotStore m_store;
    SafetyStore m_safety;
    OperatorJournal m_journal;
    UndoHistory m_history;
    std::unique_ptr<OperatorMoves> m_moves;
    std::unique_ptr<MoveJournal> m_moveJournal;
    std::unique_ptr<SnapshotRecall> m_recall;
    std::unique_ptr<RemoteBridge> m_bridge;
    std::unique_ptr<RemoteServer> m_remote;
    std::vector<Snapshot> m_snapshots;
    QMenu* m_mnuEdit = nullptr;
    QAction* m_mnuUndo = nullptr;
    QAction* m_mnuRedo = nullptr;
    QMenu* m_mnuSnapshots = nullptr;
    QPointer<JournalDialog> m_journalDialog;
};
