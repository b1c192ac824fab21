// Edit > Options: the settings of what the panel does beyond its historic
// ones, kept in "Panel.ini": the gain ceilings (per gain stage, the highest
// gain any road of the operator may take a fader to) and the remote control
// over OSC.
#pragma once

#include <QDialog>
#include <cstdint>
#include <map>
#include <optional>

#include "RemoteSettings.h"

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

struct PanelOptions {
    // By gain stage (1, 3, 15): the ceiling's code, or nothing for none.
    std::map<int16_t, std::optional<int16_t>> ceilings;
    RemoteSettings remote;
};

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(const PanelOptions& current, QWidget* parent = nullptr);

    // What the operator chose, once accepted; nothing otherwise.
    const std::optional<PanelOptions>& choices() const { return m_choices; }

private:
    struct CeilingRow {
        QCheckBox* limited;
        QDoubleSpinBox* decibels;
    };

    void addCeilingRow(class QGridLayout* grid, int16_t stage, std::optional<int16_t> ceiling);
    class QGroupBox* remoteGroup(const RemoteSettings& remote);
    void takeChoices();

    std::map<int16_t, CeilingRow> m_ceilingRows;
    QCheckBox* m_chkRemote = nullptr;
    QLineEdit* m_txtRemoteAddress = nullptr;
    QSpinBox* m_spnRemotePort = nullptr;
    QLineEdit* m_txtRemoteAllowed = nullptr;
    std::optional<PanelOptions> m_choices;
};
