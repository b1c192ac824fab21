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
    const std::optional<SetupChoices>& Choices() const { return choices_; }

protected:
    // Enter presses no button and Escape does not close the dialog.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void SetTabOrder();
    void ConnectHandlers();
    void Form_Load();
    void ShowCurrentValues();

    // Applies the count typed so far (Enter in the box, or leaving it).
    void ApplyCount();
    void LoadChannelLabels(int16_t count);
    void RemoveChannelLabels(int16_t count);
    void LayOutBelowRows();
    void ApplyOuterHeight();

    void cmdOk_Click();
    SetupChoices ReadChoices(int16_t count) const;
    int16_t SelectedGainStage() const;

    const PanelState& state_;
    ErrorSink& log_;
    std::optional<SetupChoices> choices_;

    QGroupBox* frType_ = nullptr;
    std::map<int16_t, QRadioButton*> optType_;  // keyed by gain stage
    QLabel* lblCount_ = nullptr;
    EntryBox* txtCount_ = nullptr;
    QLabel* lblIPPort_ = nullptr;
    EntryBox* txtIPPort_ = nullptr;
    QLabel* lblAddress_ = nullptr;
    EntryBox* txtIPAddr_ = nullptr;
    QPushButton* cmdOk_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    ChannelRows rows_;
};
