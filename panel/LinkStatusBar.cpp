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
QPalette paletteFor(LinkPhase phase, QPalette palette) {
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

LinkStatusBar::LinkStatusBar(QWidget* parent) : QStatusBar(parent), m_text(new QLabel(this)) {
    setObjectName(QStringLiteral("sbLink"));
    m_text->setObjectName(QStringLiteral("lblLinkStatus"));
    setSizeGripEnabled(false);
    const QFont font = panelFont(PanelFontPixels);
    setFont(font);
    m_text->setFont(font);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setMinimumWidth(1);  // never widens the window
    addWidget(m_text, 1);
    setFixedHeight(TextLines * QFontMetrics(font).lineSpacing() + VerticalPadding);
    showStatus(LinkStatus{});
}

void LinkStatusBar::showStatus(const LinkStatus& status) {
    m_full = linkStatusText(status);
    m_short = linkStatusShortText(status);
    setToolTip(m_full);
    m_text->setToolTip(m_full);
    m_text->setAccessibleName(m_full);
    m_text->setPalette(paletteFor(status.phase, palette()));
    refit();
}

QString LinkStatusBar::shownText() const { return m_text->text(); }

void LinkStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    refit();
}

void LinkStatusBar::refit() {
    const QFontMetrics metrics(m_text->font());
    const int width = m_text->contentsRect().width();
    if (metrics.horizontalAdvance(m_full) <= width) {
        m_text->setText(m_full);
        return;
    }
    QStringList lines = m_short.split(QLatin1Char('\n'));
    for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, width);
    m_text->setText(lines.join(QLatin1Char('\n')));
}

// A rule between the bank and the bar, which otherwise share a colour; drawn
// rather than styled, since a style sheet costs the window its start-up time.
void LinkStatusBar::paintEvent(QPaintEvent* event) {
    QStatusBar::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, width() - 1, 0);
}
