#include "PanelStyle.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>

namespace {

// Two chevrons pointing right, painted at whatever size the button asks for.
class OverflowChevrons : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const QPalette::ColorGroup group =
            mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(QGuiApplication::palette().color(group, QPalette::ButtonText),
                             qMax(1.0, rect.height() / 12.0)));
        const QRectF box = QRectF(rect).adjusted(rect.width() / 4.0, rect.height() / 4.0,
                                                 -rect.width() / 4.0, -rect.height() / 4.0);
        for (const qreal left : {box.left(), box.center().x()}) {
            const qreal right = left + box.width() / 2;
            painter->drawLine(QPointF(left, box.top()), QPointF(right, box.center().y()));
            painter->drawLine(QPointF(right, box.center().y()), QPointF(left, box.bottom()));
        }
        painter->restore();
    }

    // The base class paints into a pixmap it never clears.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap drawn(size);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return drawn;
    }

    QIconEngine* clone() const override { return new OverflowChevrons; }
};

}  // namespace

QIcon PanelStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                               const QWidget* widget) const {
    if (icon == SP_ToolBarHorizontalExtensionButton) return QIcon(new OverflowChevrons);
    return QProxyStyle::standardIcon(icon, option, widget);
}
