// The fader strip's "0db" button: 13 pixels high, where a native bevel and
// its padding would leave no room for the caption. It draws itself flat
// rather than through a style sheet, which would cost every strip a style
// of its own at start-up.
#pragma once

#include <QPushButton>

class FlatButton : public QPushButton {
    Q_OBJECT
public:
    FlatButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
