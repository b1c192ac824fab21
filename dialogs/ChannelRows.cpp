// Making, placing and destroying the setup dialog's channel rows.
#include "ChannelRows.h"

#include <QLabel>
#include <stdexcept>

#include "EntryBox.h"
#include "PanelState.h"
#include "SetupLayout.h"
#include "SetupValues.h"

namespace {

QString rowName(const char* kind, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(kind)).arg(index);
}

// Row 1 keeps its caption in every gain stage.
QString rowCaption(int16_t gainStage, int index) {
    const int shown = index + 1;
    if (index > 0 && gainStage == GainStage::DeviceId) {
        return QStringLiteral("Device ID%1").arg(shown);
    }
    return QStringLiteral("Channel %1").arg(shown);
}

}  // namespace

ChannelRows::ChannelRows(QWidget* dialog, int16_t gainStage, std::vector<int16_t> chanCopy)
    : m_dialog(dialog), m_gainStage(gainStage), m_chanCopy(std::move(chanCopy)) {
    createRow(0);
}

EntryBox* ChannelRows::box(int row) const { return m_rows.at(static_cast<size_t>(row)).box; }

QLabel* ChannelRows::label(int row) const { return m_rows.at(static_cast<size_t>(row)).label; }

void ChannelRows::addRows(int16_t count) {
    if (count < 1 || count > SetupValues::MaxCount) throw std::out_of_range("row count");
    // Only ever grown: rows removed and added again, in any number of steps,
    // show the channels the dialog opened with.
    if (m_chanCopy.size() < static_cast<size_t>(count))
        m_chanCopy.resize(static_cast<size_t>(count), 0);
    for (int i = labelCount(); i < count; ++i) {
        createRow(i);
        box(i)->setText(
            SetupValues::channelText(m_gainStage, m_chanCopy.at(static_cast<size_t>(i))));
        box(i)->show();
        label(i)->show();
    }
}

void ChannelRows::removeRows(int16_t count) {
    if (count < 1) throw std::out_of_range("row count");
    for (int i = labelCount() - 1; i >= count; --i) {
        // Hidden and renamed at once, deleted once the current event is over:
        // the count may be applied while the focus is moving into this row.
        for (QWidget* widget : {static_cast<QWidget*>(box(i)), static_cast<QWidget*>(label(i))}) {
            widget->hide();
            widget->setObjectName(QString());
            widget->deleteLater();
        }
        m_rows.pop_back();
    }
}

void ChannelRows::createRow(int index) {
    auto* box = new EntryBox(EntryBox::Accepts::Digits, m_dialog);
    box->setObjectName(rowName("txtChan", index));
    SetupLayout::place(box, SetupLayout::ChannelBox.atTop(SetupLayout::rowTop(index)));
    auto* label = new QLabel(rowCaption(m_gainStage, index), m_dialog);
    label->setObjectName(rowName("lblChan", index));
    SetupLayout::place(label, SetupLayout::ChannelLabel.atTop(SetupLayout::rowTop(index)));
    m_rows.push_back({label, box});
}
