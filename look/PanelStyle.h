// The application's style: the platform's own, except that the icon of the
// menu bar's overflow button is drawn rather than read from image files.
// Reading it would load every image format plugin as the menu bar is made,
// a good part of the window's start-up, for a button that a window as wide
// as its menus never shows.
#pragma once

#include <QProxyStyle>

class PanelStyle : public QProxyStyle {
    Q_OBJECT
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
