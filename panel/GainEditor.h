// The little editor a fader's read-out turns into when the operator wants to
// type a gain: Enter takes a gain it can read ("-12.5", "-12.5 dB", "+3",
// "0", "off") and closes; text it cannot read is refused on the spot, in red,
// and it stays open; Escape, or going elsewhere, closes it and sends nothing.
#pragma once

#include <QLineEdit>

class GainEditor : public QLineEdit {
    Q_OBJECT
public:
    explicit GainEditor(QWidget* parent);

    // Opens over the read-out's place, holding the gain as it stands.
    void open(const QRect& where, int16_t code);

Q_SIGNALS:
    // A gain code, not yet held to the travel or a ceiling.
    void gainTyped(int code);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void take();
    void showRefused(bool refused);
};
