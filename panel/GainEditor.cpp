#include "GainEditor.h"

#include <QKeyEvent>

#include "GainReadout.h"
#include "TypedGain.h"

namespace {
const QString Hint = QStringLiteral("Type a gain in dB, such as -12.5, or off");
}  // namespace

GainEditor::GainEditor(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("txtGain"));
    setAlignment(Qt::AlignCenter);
    setFrame(true);
    setToolTip(Hint);
    setAccessibleName(QStringLiteral("Gain in dB"));
    setAccessibleDescription(Hint);
    hide();
    connect(this, &QLineEdit::textEdited, this, [this] { showRefused(false); });
}

void GainEditor::open(const QRect& where, int16_t code) {
    setGeometry(where);
    const QString shown = gainDecibelText(code);
    setText(shown == QStringLiteral("Off") ? QStringLiteral("off") : shown.chopped(3));
    showRefused(false);
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void GainEditor::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            take();
            return;
        case Qt::Key_Escape:
            hide();
            return;
        default:
            QLineEdit::keyPressEvent(event);
    }
}

void GainEditor::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    hide();
}

void GainEditor::take() {
    const std::optional<int> code = parseTypedGain(text());
    if (!code) {
        showRefused(true);
        return;
    }
    hide();
    Q_EMIT gainTyped(*code);
}

// Red text says "not this" where the operator is looking, without a box to
// click away.
void GainEditor::showRefused(bool refused) {
    QPalette shown = parentWidget() ? parentWidget()->palette() : palette();
    if (refused) shown.setColor(QPalette::Text, QColor(200, 30, 30));
    setPalette(shown);
    setAccessibleDescription(refused ? QStringLiteral("Not a gain. ") + Hint : Hint);
}
