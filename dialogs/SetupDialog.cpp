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
#include "ErrorSink.h"
#include "GainReadout.h"
#include "PanelLook.h"
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
      m_state(state),
      m_log(log),
      m_rows(this, state.GainStage, state.Chan) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Setup"));
    setModal(true);
    // The twips layout leaves about 8 points of room for the option captions.
    setFont(panelFont(11));
    createControls();
    orderTabs();
    connectHandlers();
    Form_Load();
    m_rows.box(0)->setFocus();
}

SetupDialog::~SetupDialog() {
    // Hiding the dialog during its destruction may take the focus from the
    // count box; by then there is no dialog left to apply the count to.
    m_txtCount->disconnect(this);
}

void SetupDialog::createControls() {
    using SetupLayout::place;
    m_frType = new QGroupBox(QStringLiteral("Gain Stage"), this);
    m_frType->setObjectName(QStringLiteral("frType"));
    place(m_frType, SetupLayout::GainStageFrame);
    const struct {
        int16_t stage;
        TwipsRect rect;
    } options[] = {
        {GainStage::InputTrim, SetupLayout::InputTrimOption},
        {GainStage::AnalogOutput, SetupLayout::AnalogOutputOption},
        {GainStage::DspOutput, SetupLayout::DspOutputOption},
        {GainStage::DeviceId, SetupLayout::DeviceIdOption},
    };
    for (const auto& option : options) {
        auto* button = new QRadioButton(gainStageCaption(option.stage), m_frType);
        button->setObjectName(QStringLiteral("optType(%1)").arg(option.stage));
        place(button, option.rect);
        m_optType[option.stage] = button;
    }

    auto makeLabel = [this](const char* name, const char* caption, const TwipsRect& rect) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setObjectName(QString::fromLatin1(name));
        place(label, rect);
        return label;
    };
    auto makeBox = [this](const char* name, EntryBox::Accepts accepts, const TwipsRect& rect) {
        auto* box = new EntryBox(accepts, this);
        box->setObjectName(QString::fromLatin1(name));
        place(box, rect);
        return box;
    };
    auto makeButton = [this](const char* name, const char* caption, const TwipsRect& rect) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        // A dialog's push buttons take Enter by default; these never do.
        button->setAutoDefault(false);
        button->setDefault(false);
        place(button, rect);
        return button;
    };
    m_lblCount = makeLabel("lblCount", "Count", SetupLayout::CountLabel);
    m_txtCount = makeBox("txtCount", EntryBox::Accepts::Digits, SetupLayout::CountBox);
    m_lblIpPort = makeLabel("lblIPPort", "IP Port", SetupLayout::PortLabel);
    m_txtIpPort = makeBox("txtIPPort", EntryBox::Accepts::Digits, SetupLayout::PortBox);
    m_lblAddress = makeLabel("lblAddress", "IP Address", SetupLayout::AddressLabel);
    m_txtIpAddr = makeBox("txtIPAddr", EntryBox::Accepts::DigitsAndDots, SetupLayout::AddressBox);
    m_cmdOk = makeButton("cmdOk", "&Ok", SetupLayout::OkButton);
    m_cmdCancel = makeButton("cmdCancel", "&Cancel", SetupLayout::CancelButton);
}

void SetupDialog::orderTabs() {
    // Rows added later follow at the end, in the order they are made.
    const QList<QWidget*> order = {m_rows.box(0),
                                   m_cmdOk,
                                   m_cmdCancel,
                                   m_txtIpPort,
                                   m_txtIpAddr,
                                   m_optType.at(GainStage::InputTrim),
                                   m_optType.at(GainStage::AnalogOutput),
                                   m_optType.at(GainStage::DspOutput),
                                   m_txtCount,
                                   m_optType.at(GainStage::DeviceId)};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void SetupDialog::connectHandlers() {
    connect(m_txtCount, &QLineEdit::returnPressed, this, &SetupDialog::applyCount);
    connect(m_txtCount, &EntryBox::focusLost, this, &SetupDialog::applyCount);
    connect(m_cmdOk, &QPushButton::clicked, this, &SetupDialog::cmdOk_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SetupDialog::Form_Load() {
    LoadChannelLabels(m_state.FaderCount);
    showCurrentValues();
}

void SetupDialog::showCurrentValues() {
    try {
        // A gain stage without an option button leaves every box empty.
        m_optType.at(m_state.GainStage)->setChecked(true);
        m_txtCount->setText(QString::number(m_state.FaderCount));
        for (int i = 0; i < m_state.FaderCount; ++i) {
            m_rows.box(i)->setText(SetupValues::channelText(
                m_state.GainStage, m_state.Chan.at(static_cast<size_t>(i))));
        }
        m_txtIpPort->setText(QString::number(m_state.IPPort));
        m_txtIpAddr->setText(m_state.IPAddress);
    } catch (const std::exception&) {
        m_log.LogError(QStringLiteral("Error displaying current values"), SetupError);
    }
}

// Both row operations trap and log their own failures.
void SetupDialog::applyCount() {
    const int16_t count = SetupValues::countFromText(m_txtCount->text()).value_or(1);
    if (count > m_rows.labelCount()) {
        LoadChannelLabels(count);
    } else if (count < m_rows.labelCount()) {
        RemoveChannelLabels(count);
    }
}

void SetupDialog::LoadChannelLabels(int16_t count) {
    try {
        m_rows.addRows(count);
        layOutBelowRows();
    } catch (const std::exception&) {
        m_log.LogError(QStringLiteral("Error Loading Channel Labels"), SetupError);
    }
}

void SetupDialog::RemoveChannelLabels(int16_t count) {
    try {
        m_rows.removeRows(count);
        layOutBelowRows();
    } catch (const std::exception&) {
        m_log.LogError(QStringLiteral("Error Removing Channel Labels"), SetupError);
    }
}

void SetupDialog::layOutBelowRows() {
    using SetupLayout::place;
    const int rows = m_rows.labelCount();
    place(m_lblIpPort, SetupLayout::PortLabel.atTop(SetupLayout::portTop(rows)));
    place(m_txtIpPort, SetupLayout::PortBox.atTop(SetupLayout::portTop(rows)));
    place(m_lblAddress, SetupLayout::AddressLabel.atTop(SetupLayout::addressTop(rows)));
    place(m_txtIpAddr, SetupLayout::AddressBox.atTop(SetupLayout::addressTop(rows)));
    place(m_cmdOk, SetupLayout::OkButton.atTop(SetupLayout::buttonTop(rows)));
    place(m_cmdCancel, SetupLayout::CancelButton.atTop(SetupLayout::buttonTop(rows)));
    applyOuterHeight();
}

void SetupDialog::applyOuterHeight() {
    // The height is the window's outer one, title bar and borders included;
    // they are known only once the window is framed, and count as 0 before.
    const int decoration = frameGeometry().height() - geometry().height();
    const int outer = twips(SetupLayout::outerHeight(m_rows.labelCount()));
    setFixedSize(twips(SetupLayout::ClientWidth), std::max(outer - decoration, 1));
}

void SetupDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window manager frames the window after it is shown.
    QTimer::singleShot(0, this, &SetupDialog::applyOuterHeight);
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
    applyCount();
    try {
        const std::optional<int16_t> count = SetupValues::countFromText(m_txtCount->text());
        if (!count) return;
        m_choices = readChoices(*count);
        accept();
    } catch (const std::exception&) {
        m_log.LogError(QStringLiteral("Error recording changes"), SetupError);
    }
}

SetupChoices SetupDialog::readChoices(int16_t count) const {
    SetupChoices choices{count, selectedGainStage(), {}, 0, m_txtIpAddr->text()};
    for (int i = 0; i < count; ++i) {
        choices.channels.push_back(
            SetupValues::channelFromText(choices.gainStage, m_rows.box(i)->text()));
    }
    choices.port = SetupValues::portFromText(m_txtIpPort->text());
    return choices;
}

int16_t SetupDialog::selectedGainStage() const {
    for (const int16_t stage :
         {GainStage::InputTrim, GainStage::AnalogOutput, GainStage::DeviceId}) {
        if (m_optType.at(stage)->isChecked()) return stage;
    }
    return GainStage::DspOutput;
}
