// The setup dialog: showing the settings, the count box, and "&Ok"/"&Cancel".
#include "SetupDialog.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <exception>

#include "EntryBox.h"
#include "PanelLook.h"
#include "ErrorSink.h"
#include "PanelState.h"
#include "SetupLayout.h"
#include "SetupValues.h"
#include "Twips.h"

namespace {

const QString SetupError = QStringLiteral("Setup Error");

}  // namespace

SetupDialog::SetupDialog(const PanelState& state, ErrorSink& log, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      state_(state),
      log_(log),
      rows_(this, state.GainStage, state.Chan) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Setup"));
    setModal(true);
    // The twips layout leaves about 8 points of room for the option captions.
    setFont(PanelFont(11));
    CreateControls();
    SetTabOrder();
    ConnectHandlers();
    Form_Load();
    rows_.Box(0)->setFocus();
}

SetupDialog::~SetupDialog() {
    // Hiding the dialog during its destruction may take the focus from the
    // count box; by then there is no dialog left to apply the count to.
    txtCount_->disconnect(this);
}

void SetupDialog::CreateControls() {
    using SetupLayout::Place;
    frType_ = new QGroupBox(QStringLiteral("Gain Stage"), this);
    frType_->setObjectName(QStringLiteral("frType"));
    Place(frType_, SetupLayout::GainStageFrame);
    const struct {
        int16_t stage;
        const char* caption;
        TwipsRect rect;
    } options[] = {
        {GainStage::InputTrim, "Input Trim", SetupLayout::InputTrimOption},
        {GainStage::AnalogOutput, "Anaolg Output", SetupLayout::AnalogOutputOption},
        {GainStage::DspOutput, "DSP Output Level", SetupLayout::DspOutputOption},
        {GainStage::DeviceId, "Device ID", SetupLayout::DeviceIdOption},
    };
    for (const auto& option : options) {
        auto* button = new QRadioButton(QString::fromLatin1(option.caption), frType_);
        button->setObjectName(QStringLiteral("optType(%1)").arg(option.stage));
        Place(button, option.rect);
        optType_[option.stage] = button;
    }

    auto makeLabel = [this](const char* name, const char* caption, const TwipsRect& rect) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setObjectName(QString::fromLatin1(name));
        Place(label, rect);
        return label;
    };
    auto makeBox = [this](const char* name, EntryBox::Accepts accepts, const TwipsRect& rect) {
        auto* box = new EntryBox(accepts, this);
        box->setObjectName(QString::fromLatin1(name));
        Place(box, rect);
        return box;
    };
    auto makeButton = [this](const char* name, const char* caption, const TwipsRect& rect) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        // A dialog's push buttons take Enter by default; these never do.
        button->setAutoDefault(false);
        button->setDefault(false);
        Place(button, rect);
        return button;
    };
    lblCount_ = makeLabel("lblCount", "Count", SetupLayout::CountLabel);
    txtCount_ = makeBox("txtCount", EntryBox::Accepts::Digits, SetupLayout::CountBox);
    lblIPPort_ = makeLabel("lblIPPort", "IP Port", SetupLayout::PortLabel);
    txtIPPort_ = makeBox("txtIPPort", EntryBox::Accepts::Digits, SetupLayout::PortBox);
    lblAddress_ = makeLabel("lblAddress", "IP Address", SetupLayout::AddressLabel);
    txtIPAddr_ = makeBox("txtIPAddr", EntryBox::Accepts::DigitsAndDots, SetupLayout::AddressBox);
    cmdOk_ = makeButton("cmdOk", "&Ok", SetupLayout::OkButton);
    cmdCancel_ = makeButton("cmdCancel", "&Cancel", SetupLayout::CancelButton);
}

void SetupDialog::SetTabOrder() {
    // Rows added later follow at the end, in the order they are made.
    const QList<QWidget*> order = {rows_.Box(0),
                                   cmdOk_,
                                   cmdCancel_,
                                   txtIPPort_,
                                   txtIPAddr_,
                                   optType_.at(GainStage::InputTrim),
                                   optType_.at(GainStage::AnalogOutput),
                                   optType_.at(GainStage::DspOutput),
                                   txtCount_,
                                   optType_.at(GainStage::DeviceId)};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void SetupDialog::ConnectHandlers() {
    connect(txtCount_, &QLineEdit::returnPressed, this, &SetupDialog::ApplyCount);
    connect(txtCount_, &EntryBox::focusLost, this, &SetupDialog::ApplyCount);
    connect(cmdOk_, &QPushButton::clicked, this, &SetupDialog::cmdOk_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void SetupDialog::Form_Load() {
    LoadChannelLabels(state_.FaderCount);
    ShowCurrentValues();
}

void SetupDialog::ShowCurrentValues() {
    try {
        // A gain stage without an option button leaves every box empty.
        optType_.at(state_.GainStage)->setChecked(true);
        txtCount_->setText(QString::number(state_.FaderCount));
        for (int i = 0; i < state_.FaderCount; ++i) {
            rows_.Box(i)->setText(
                SetupValues::ChannelText(state_.GainStage, state_.Chan.at(static_cast<size_t>(i))));
        }
        txtIPPort_->setText(QString::number(state_.IPPort));
        txtIPAddr_->setText(state_.IPAddress);
    } catch (const std::exception&) {
        log_.LogError(QStringLiteral("Error displaying current values"), SetupError);
    }
}

// Both row operations trap and log their own failures.
void SetupDialog::ApplyCount() {
    const int16_t count = SetupValues::CountFromText(txtCount_->text()).value_or(1);
    if (count > rows_.LabelCount()) {
        LoadChannelLabels(count);
    } else if (count < rows_.LabelCount()) {
        RemoveChannelLabels(count);
    }
}

void SetupDialog::LoadChannelLabels(int16_t count) {
    try {
        rows_.AddRows(count);
        LayOutBelowRows();
    } catch (const std::exception&) {
        log_.LogError(QStringLiteral("Error Loading Channel Labels"), SetupError);
    }
}

void SetupDialog::RemoveChannelLabels(int16_t count) {
    try {
        rows_.RemoveRows(count);
        LayOutBelowRows();
    } catch (const std::exception&) {
        log_.LogError(QStringLiteral("Error Removing Channel Labels"), SetupError);
    }
}

void SetupDialog::LayOutBelowRows() {
    using SetupLayout::Place;
    const int rows = rows_.LabelCount();
    Place(lblIPPort_, SetupLayout::PortLabel.AtTop(SetupLayout::PortTop(rows)));
    Place(txtIPPort_, SetupLayout::PortBox.AtTop(SetupLayout::PortTop(rows)));
    Place(lblAddress_, SetupLayout::AddressLabel.AtTop(SetupLayout::AddressTop(rows)));
    Place(txtIPAddr_, SetupLayout::AddressBox.AtTop(SetupLayout::AddressTop(rows)));
    Place(cmdOk_, SetupLayout::OkButton.AtTop(SetupLayout::ButtonTop(rows)));
    Place(cmdCancel_, SetupLayout::CancelButton.AtTop(SetupLayout::ButtonTop(rows)));
    ApplyOuterHeight();
}

void SetupDialog::ApplyOuterHeight() {
    // The height is the window's outer one, title bar and borders included;
    // they are known only once the window is framed, and count as 0 before.
    const int decoration = frameGeometry().height() - geometry().height();
    const int outer = Twips(SetupLayout::OuterHeight(rows_.LabelCount()));
    setFixedSize(Twips(SetupLayout::ClientWidth), std::max(outer - decoration, 1));
}

void SetupDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window manager frames the window after it is shown.
    QTimer::singleShot(0, this, &SetupDialog::ApplyOuterHeight);
}

void SetupDialog::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SetupDialog::cmdOk_Click() {
    // An access key clicks the button without taking the focus from the count
    // box, so the rows may not yet follow the count typed there.
    ApplyCount();
    try {
        const std::optional<int16_t> count = SetupValues::CountFromText(txtCount_->text());
        if (!count) return;
        choices_ = ReadChoices(*count);
        accept();
    } catch (const std::exception&) {
        log_.LogError(QStringLiteral("Error recording changes"), SetupError);
    }
}

SetupChoices SetupDialog::ReadChoices(int16_t count) const {
    SetupChoices choices{count, SelectedGainStage(), {}, 0, txtIPAddr_->text()};
    for (int i = 0; i < count; ++i) {
        choices.channels.push_back(
            SetupValues::ChannelFromText(choices.gainStage, rows_.Box(i)->text()));
    }
    choices.port = SetupValues::PortFromText(txtIPPort_->text());
    return choices;
}

int16_t SetupDialog::SelectedGainStage() const {
    for (const int16_t stage :
         {GainStage::InputTrim, GainStage::AnalogOutput, GainStage::DeviceId}) {
        if (optType_.at(stage)->isChecked()) return stage;
    }
    return GainStage::DspOutput;
}
