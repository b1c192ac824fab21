// Making, placing and destroying the setup dialog's channel rows.
#include "ChannelRows.h"

#include <QLabel>
#include <stdexcept>

#include "EntryBox.h"
#include "PanelState.h"
#include "SetupLayout.h"
#include "SetupValues.h"

namespace {

QString RowName(const char* kind, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(kind)).arg(index);
}

// Row 1 keeps its caption in every gain stage.
QString RowCaption(int16_t gainStage, int index) {
    const int shown = index + 1;
    if (index > 0 && gainStage == GainStage::DeviceId) {
        return QStringLiteral("Device ID%1").arg(shown);
    }
    return QStringLiteral("Channel %1").arg(shown);
}

}  // namespace

ChannelRows::ChannelRows(QWidget* dialog, int16_t gainStage, std::vector<int16_t> chanCopy)
    : dialog_(dialog), gainStage_(gainStage), chanCopy_(std::move(chanCopy)) {
    CreateRow(0);
}

EntryBox* ChannelRows::Box(int row) const { return rows_.at(static_cast<size_t>(row)).box; }

QLabel* ChannelRows::Label(int row) const { return rows_.at(static_cast<size_t>(row)).label; }

void ChannelRows::AddRows(int16_t count) {
    if (count < 1 || count > SetupValues::MaxCount) throw std::out_of_range("row count");
    // Only ever grown: rows removed and added again, in any number of steps,
    // show the channels the dialog opened with.
    if (chanCopy_.size() < static_cast<size_t>(count))
        chanCopy_.resize(static_cast<size_t>(count), 0);
    for (int i = LabelCount(); i < count; ++i) {
        CreateRow(i);
        Box(i)->setText(SetupValues::ChannelText(gainStage_, chanCopy_.at(static_cast<size_t>(i))));
        Box(i)->show();
        Label(i)->show();
    }
}

void ChannelRows::RemoveRows(int16_t count) {
    if (count < 1) throw std::out_of_range("row count");
    for (int i = LabelCount() - 1; i >= count; --i) {
        // Hidden and renamed at once, deleted once the current event is over:
        // the count may be applied while the focus is moving into this row.
        for (QWidget* widget : {static_cast<QWidget*>(Box(i)), static_cast<QWidget*>(Label(i))}) {
            widget->hide();
            widget->setObjectName(QString());
            widget->deleteLater();
        }
        rows_.pop_back();
    }
}

void ChannelRows::CreateRow(int index) {
    auto* box = new EntryBox(EntryBox::Accepts::Digits, dialog_);
    box->setObjectName(RowName("txtChan", index));
    SetupLayout::Place(box, SetupLayout::ChannelBox.AtTop(SetupLayout::RowTop(index)));
    auto* label = new QLabel(RowCaption(gainStage_, index), dialog_);
    label->setObjectName(RowName("lblChan", index));
    SetupLayout::Place(label, SetupLayout::ChannelLabel.AtTop(SetupLayout::RowTop(index)));
    rows_.push_back({label, box});
}
