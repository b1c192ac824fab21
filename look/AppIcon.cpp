// Drawing of the program's icon.
#include "AppIcon.h"

#include <QPainter>

QPixmap drawAppIcon() {
    QPixmap icon(32, 32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(20, 20, 28));
    painter.setBrush(QColor(48, 56, 72));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 4, 4);

    // Slot x position and knob height of each fader.
    const int slots[3][2] = {{8, 18}, {16, 8}, {24, 13}};
    for (const auto& slot : slots) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(12, 12, 16));
        painter.drawRect(QRectF(slot[0] - 1, 5, 2, 22));
        painter.setBrush(QColor(236, 180, 60));
        painter.setPen(QColor(120, 80, 20));
        painter.drawRect(QRectF(slot[0] - 3.5, slot[1] - 2, 7, 4));
    }
    return icon;
}
