// File > Setup: the gain stage, the fader count, one channel row per fader,
// and the switcher's port and address. The dialog only reads the settings:
// "&Ok" checks every box and, when all of them hold a value that can be
// stored, closes with the operator's choices for the main window to apply.
// A refused "&Ok" keeps the dialog open and changes nothing.
#pragma once

#include <QDialog>
#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "ChannelRows.h"

class EntryBox;
class ErrorSink;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
struct PanelState;

// Everything "&Ok" read from the boxes.
struct SetupChoices {
    int16_t count = 1;
    int16_t gainStage = 0;
    std::vector<int16_t> channels;  // Chan: 0-based channel, or the device ID
    int32_t port = 0;
    QString address;
};

class SetupDialog : public QDialog {
    Q_OBJECT
public:
    SetupDialog(const PanelState& state, ErrorSink& log, QWidget* parent = nullptr);
    ~SetupDialog() override;

    // The operator's choices once "&Ok" has accepted them; nothing otherwise.
    const std::optional<SetupChoices>& choices() const { return m_choices; }

protected:
    // Enter presses no button and Escape does not close the dialog.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void orderTabs();
    void connectHandlers();
    void Form_Load();
    void showCurrentValues();

    // Applies the count typed so far (Enter in the box, or leaving it).
    void applyCount();
    void LoadChannelLabels(int16_t count);
    void RemoveChannelLabels(int16_t count);
    void layOutBelowRows();
    void applyOuterHeight();

    void cmdOk_Click();
    SetupChoices readChoices(int16_t count) const;
    int16_t selectedGainStage() const;

    const PanelState& m_state;
    ErrorSink& m_log;
    std::optional<SetupChoices> m_choices;

    QGroupBox* m_frType = nullptr;
    std::map<int16_t, QRadioButton*> m_optType;  // keyed by gain stage
    QLabel* m_lblCount = nullptr;
    EntryBox* m_txtCount = nullptr;
    QLabel* m_lblIpPort = nullptr;
    EntryBox* m_txtIpPort = nullptr;
    QLabel* m_lblAddress = nullptr;
    EntryBox* m_txtIpAddr = nullptr;
    QPushButton* m_cmdOk = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    ChannelRows m_rows;
};
