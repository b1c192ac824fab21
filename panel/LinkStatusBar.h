// The status bar under the fader bank: one glance tells whether the panel is
// really talking to the switcher. The full sentence goes into the tooltip and
// the accessible name; the bar shows it when it fits on one line and the
// two-line short form otherwise (each line elided if even that is too wide).
#pragma once

#include <QStatusBar>

#include "LinkStatus.h"

class QLabel;

class LinkStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit LinkStatusBar(QWidget* parent = nullptr);

    void showStatus(const LinkStatus& status);
    // What the bar shows now (lines separated by '\n') and the full sentence.
    QString shownText() const;
    QString fullText() const { return m_full; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void refit();

    QLabel* m_text;
    QString m_full;
    QString m_short;
};
