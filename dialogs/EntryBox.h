// An entry box that lets in only the characters its kind allows, whether
// they are typed, pasted from its menu or dropped; the paste and cut keys are
// refused outright. Text set by the program is shown as it is, so a stored
// value is never altered just by opening the dialog.
#pragma once

#include <QLineEdit>

class EntryBox : public QLineEdit {
    Q_OBJECT
public:
    enum class Accepts { Digits, DigitsAndDots };

    EntryBox(Accepts accepts, QWidget* parent);

    static bool keeps(Accepts accepts, QChar c);
    static QString keptPart(Accepts accepts, const QString& text);

Q_SIGNALS:
    // The operator moved the focus elsewhere in the dialog; switching to
    // another window or opening the box's own menu does not count.
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void dropRefusedCharacters(const QString& edited);

    Accepts m_accepts;
};
