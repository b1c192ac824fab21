#include "LinkStatusBar.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QStringList>

#include "LinkStatusText.h"
#include "PanelLook.h"

namespace {

constexpr int TextLines = 2;
constexpr int VerticalPadding = 4;  // pixels, above and below the text together


// Trouble in red, a live link in green, the steps in between in the normal
// text colour. Set through the palette: a style sheet would cost the window
// a style of its own.
QPalette PaletteFor(LinkPhase phase, QPalette palette) {
    switch (phase) {
        case LinkPhase::Live:
            palette.setColor(QPalette::WindowText, QColor(0x1a, 0x6b, 0x1a));
            break;
        case LinkPhase::RetryWait:
        case LinkPhase::RetryAttempt:
            palette.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
            break;
        default:
            break;
    }
    return palette;
}

}  // namespace

LinkStatusBar::LinkStatusBar(QWidget* parent) : QStatusBar(parent), text_(new QLabel(this)) {
    setObjectName(QStringLiteral("sbLink"));
    text_->setObjectName(QStringLiteral("lblLinkStatus"));
    setSizeGripEnabled(false);
    const QFont font = PanelFont(PanelFontPixels);
    setFont(font);
    text_->setFont(font);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    text_->setTextFormat(Qt::PlainText);
    text_->setMinimumWidth(1);  // never widens the window
    addWidget(text_, 1);
    setFixedHeight(TextLines * QFontMetrics(font).lineSpacing() + VerticalPadding);
    Show(LinkStatus{});
}

void LinkStatusBar::Show(const LinkStatus& status) {
    full_ = LinkStatusText(status);
    short_ = LinkStatusShortText(status);
    setToolTip(full_);
    text_->setToolTip(full_);
    text_->setAccessibleName(full_);
    text_->setPalette(PaletteFor(status.phase, palette()));
    Refit();
}

QString LinkStatusBar::ShownText() const { return text_->text(); }

void LinkStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    Refit();
}

void LinkStatusBar::Refit() {
    const QFontMetrics metrics(text_->font());
    const int width = text_->contentsRect().width();
    if (metrics.horizontalAdvance(full_) <= width) {
        text_->setText(full_);
        return;
    }
    QStringList lines = short_.split(QLatin1Char('\n'));
    for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, width);
    text_->setText(lines.join(QLatin1Char('\n')));
}

// A rule between the bank and the bar, which otherwise share a colour; drawn
// rather than styled, since a style sheet costs the window its start-up time.
void LinkStatusBar::paintEvent(QPaintEvent* event) {
    QStatusBar::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, width() - 1, 0);
}
