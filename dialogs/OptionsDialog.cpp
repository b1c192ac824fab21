#include "OptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "GainCode.h"
#include "GainReadout.h"
#include "PanelLook.h"
#include "ProtocolConstants.h"

namespace {
constexpr double LowestDecibels = -99.9;
constexpr double HighestDecibels = 24.0;
}  // namespace

OptionsDialog::OptionsDialog(const PanelOptions& current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setFont(panelFont(12));
    auto* ceilings = new QGroupBox(QStringLiteral("Gain ceilings"), this);
    auto* grid = new QGridLayout(ceilings);
    grid->addWidget(new QLabel(QStringLiteral("No fader moved by the operator goes above:")), 0, 0,
                    1, 2);
    for (const int16_t stage :
         {GainStage::InputTrim, GainStage::AnalogOutput, GainStage::DspOutput}) {
        const auto found = current.ceilings.find(stage);
        addCeilingRow(grid, stage, found == current.ceilings.end() ? std::nullopt : found->second);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::takeChoices);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ceilings);
    layout->addWidget(remoteGroup(current.remote));
    layout->addWidget(buttons);
}

QGroupBox* OptionsDialog::remoteGroup(const RemoteSettings& remote) {
    auto* group = new QGroupBox(QStringLiteral("Remote control (OSC over UDP)"), this);
    auto* form = new QFormLayout(group);
    m_chkRemote = new QCheckBox(QStringLiteral("&Listen for remote control"));
    m_chkRemote->setObjectName(QStringLiteral("chkRemote"));
    m_chkRemote->setChecked(remote.enabled);
    m_txtRemoteAddress = new QLineEdit(remote.address);
    m_txtRemoteAddress->setObjectName(QStringLiteral("txtRemoteAddress"));
    m_txtRemoteAddress->setToolTip(
        QStringLiteral("127.0.0.1 takes this computer only; another address opens the panel to "
                       "the senders allowed below"));
    m_spnRemotePort = new QSpinBox;
    m_spnRemotePort->setObjectName(QStringLiteral("spnRemotePort"));
    m_spnRemotePort->setRange(1, 65535);
    m_spnRemotePort->setValue(remote.port);
    m_txtRemoteAllowed = new QLineEdit(remote.allowed.join(QStringLiteral(", ")));
    m_txtRemoteAllowed->setObjectName(QStringLiteral("txtRemoteAllowed"));
    m_txtRemoteAllowed->setPlaceholderText(QStringLiteral("192.168.1.20, 192.168.1.21"));
    form->addRow(m_chkRemote);
    form->addRow(QStringLiteral("&Address:"), m_txtRemoteAddress);
    form->addRow(QStringLiteral("&Port:"), m_spnRemotePort);
    form->addRow(QStringLiteral("Allo&wed senders:"), m_txtRemoteAllowed);
    return group;
}

void OptionsDialog::addCeilingRow(QGridLayout* grid, int16_t stage,
                                  std::optional<int16_t> ceiling) {
    const int row = grid->rowCount();
    auto* limited = new QCheckBox(gainStageCaption(stage));
    limited->setObjectName(QStringLiteral("chkCeiling%1").arg(stage));
    auto* decibels = new QDoubleSpinBox;
    decibels->setObjectName(QStringLiteral("spnCeiling%1").arg(stage));
    decibels->setRange(LowestDecibels, HighestDecibels);
    decibels->setDecimals(1);
    decibels->setSingleStep(0.1);
    decibels->setSuffix(QStringLiteral(" dB"));
    decibels->setAccessibleName(gainStageCaption(stage) + QStringLiteral(" ceiling"));
    limited->setChecked(ceiling.has_value());
    decibels->setValue(ceiling ? GainCode::decibelsOf(*ceiling) : 10.0);
    decibels->setEnabled(ceiling.has_value());
    connect(limited, &QCheckBox::toggled, decibels, &QWidget::setEnabled);
    grid->addWidget(limited, row, 0);
    grid->addWidget(decibels, row, 1);
    m_ceilingRows[stage] = {limited, decibels};
}

void OptionsDialog::takeChoices() {
    PanelOptions chosen;
    for (const auto& [stage, row] : m_ceilingRows) {
        chosen.ceilings[stage] = row.limited->isChecked()
                                     ? std::optional<int16_t>(static_cast<int16_t>(
                                           GainCode::codeOf(row.decibels->value())))
                                     : std::nullopt;
    }
    chosen.remote.enabled = m_chkRemote->isChecked();
    chosen.remote.address = m_txtRemoteAddress->text().trimmed();
    chosen.remote.port = m_spnRemotePort->value();
    for (const QString& allowed :
         m_txtRemoteAllowed->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!allowed.trimmed().isEmpty()) chosen.remote.allowed << allowed.trimmed();
    }
    m_choices = chosen;
    accept();
}
