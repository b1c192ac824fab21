// File > Setup: the gain stage, the fader count, one channel row per fader,
// and the switcher's port and address. Nothing changes until "&Ok", and then
// either every setting changes or none does.
#pragma once

#include <QDialog>
#include <functional>
#include <map>

#include "ChannelRows.h"

class EntryBox;
class ErrorSink;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class SwitcherLinkPort;
struct PanelState;

// What "&Ok" does beyond storing the settings.
struct SetupActions {
    std::function<void()> startGainTimer;  // redraw the faders once, soon
    std::function<void()> writeSettings;   // save "Slider.ini"
};

class SetupDialog : public QDialog {
    Q_OBJECT
public:
    SetupDialog(PanelState& state, SwitcherLinkPort& link, ErrorSink& log, SetupActions actions,
                QWidget* parent = nullptr);
    ~SetupDialog() override;

protected:
    // Enter presses no button and Escape does not close the dialog.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Everything "&Ok" read from the boxes, before any of it is stored.
    struct Choices {
        int16_t count;
        int16_t gainStage;
        std::vector<int16_t> channels;
        int32_t port;
        QString address;
    };

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
    Choices ReadChoices(int16_t count) const;
    int16_t SelectedGainStage() const;
    void StoreChoices(const Choices& choices);

    PanelState& state_;
    SwitcherLinkPort& link_;
    ErrorSink& log_;
    SetupActions actions_;

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
