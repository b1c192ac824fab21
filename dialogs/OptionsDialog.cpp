#include "OptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <cmath>

#include "GainReadout.h"
#include "PanelLook.h"
#include "ProtocolConstants.h"

namespace {
constexpr int ZeroDbCode = 1024;
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
    layout->addWidget(buttons);
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
    decibels->setValue(ceiling ? (*ceiling - ZeroDbCode) / 10.0 : 10.0);
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
                                           ZeroDbCode + std::lround(row.decibels->value() * 10)))
                                     : std::nullopt;
    }
    m_choices = chosen;
    accept();
}
