// Character filtering for the setup dialog's entry boxes.
#include "EntryBox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <algorithm>

EntryBox::EntryBox(Accepts accepts, QWidget* parent) : QLineEdit(parent), m_accepts(accepts) {
    // Pastes from the menu, drops and input methods all end up here; a typed
    // character that is refused never gets this far.
    connect(this, &QLineEdit::textEdited, this, &EntryBox::dropRefusedCharacters);
}

bool EntryBox::keeps(Accepts accepts, QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return true;
    return accepts == Accepts::DigitsAndDots && c == QLatin1Char('.');
}

QString EntryBox::keptPart(Accepts accepts, const QString& text) {
    QString kept;
    for (const QChar c : text) {
        if (keeps(accepts, c)) kept.append(c);
    }
    return kept;
}

void EntryBox::keyPressEvent(QKeyEvent* event) {
    // The clipboard's keys that change the text (Ctrl+V, Shift+Insert, Ctrl+X,
    // Shift+Delete) are discarded like any other control character; pasting
    // through the box's menu or dropping text still goes through the filter.
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) {
        event->accept();
        return;
    }
    // With Ctrl, Alt or Meta held a key is a shortcut, not a character;
    // whatever it inserts is filtered afterwards.
    const bool shortcut =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(),
                                                           [](QChar c) { return c.isPrint(); });
    if (printable && !shortcut) {
        const QString kept = keptPart(m_accepts, typed);
        if (kept != typed) {
            if (!kept.isEmpty()) insert(kept);
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void EntryBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        Q_EMIT focusLost();
    }
}

void EntryBox::dropRefusedCharacters(const QString& edited) {
    const QString kept = keptPart(m_accepts, edited);
    if (kept == edited) return;
    const int cursor = cursorPosition();
    const int keptBeforeCursor = int(keptPart(m_accepts, edited.left(cursor)).size());
    setText(kept);
    setCursorPosition(keptBeforeCursor);
}
