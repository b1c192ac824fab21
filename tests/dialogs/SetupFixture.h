// A setup dialog over a panel state chosen by the test, with the link calls
// and the two "&Ok" actions recorded in the order they happen, and the steps
// an operator takes in it.
#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "PanelState.h"
#include "Recorders.h"
#include "SetupDialog.h"
#include "Twips.h"

// Notes each call with the address and port in force at that moment.
class OrderedLink : public RecordingLink {
public:
    OrderedLink(QStringList& calls, const PanelState& state) : calls_(calls), state_(state) {}
    void ConnectToSwitcher() override { Note("connect"); }
    void DisconnectFromSwitcher() override { Note("disconnect"); }

private:
    void Note(const char* what) {
        calls_ << QStringLiteral("%1 %2:%3")
                      .arg(QLatin1String(what), state_.IPAddress)
                      .arg(state_.IPPort);
    }
    QStringList& calls_;
    const PanelState& state_;
};

using LogEntries = QList<QPair<QString, QString>>;

// Twips of the layout as the design gives them, in pixels.
inline QRect PixelRect(int left, int top, int width, int height) {
    return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}

struct SetupFixture {
    PanelState state;
    QStringList calls;
    OrderedLink link{calls, state};
    RecordingLog log;
    std::unique_ptr<SetupDialog> dialog;

    // Opens it shown and active, so that focus moves as an operator's would.
    bool Open(int16_t gainStage, const QList<int>& channels, bool show = true) {
        state.GainStage = gainStage;
        state.FaderCount = int16_t(channels.size());
        state.Chan.assign(channels.begin(), channels.end());
        state.Link.assign(channels.size(), 0);
        SetupActions actions{[this] { calls << QStringLiteral("startGainTimer"); },
                             [this] { calls << QStringLiteral("writeSettings"); }};
        dialog = std::make_unique<SetupDialog>(state, link, log, actions);
        if (show) dialog->show();
        return !show || QTest::qWaitForWindowActive(dialog.get());
    }

    template <typename Widget = QLineEdit>
    Widget* Find(const QString& name) const {
        return dialog->findChild<Widget*>(name);
    }
    QLineEdit* Row(int i) const { return Find(QStringLiteral("txtChan(%1)").arg(i)); }

    int RowCount() const {
        int rows = 0;
        while (Row(rows)) ++rows;
        return rows;
    }

    void Retype(const QString& name, const QString& text) const {
        QLineEdit* box = Find(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    void ApplyCount(const QString& count) const {
        Retype(QStringLiteral("txtCount"), count);
        QTest::keyClick(Find("txtCount"), Qt::Key_Return);
    }
    void Click(const QString& name) const {
        QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton);
    }

    // Tops of everything below the rows, then the outer height, in pixels.
    QList<int> BelowRows() const {
        QList<int> tops;
        for (const char* name :
             {"lblIPPort", "txtIPPort", "lblAddress", "txtIPAddr", "cmdOk", "cmdCancel"}) {
            tops << Find<QWidget>(QLatin1String(name))->y();
        }
        return tops << dialog->frameGeometry().height();
    }
    static QList<int> BelowRowsDesigned(int rows) {
        const int shift = 500 * rows;
        return {Twips(2300 + shift), Twips(2300 + shift), Twips(2800 + shift), Twips(2800 + shift),
                Twips(3420 + shift), Twips(3420 + shift), Twips(4740 + shift)};
    }

    // Everything the dialog may change, for before/after comparisons.
    QString Settings() const {
        QStringList chan, links;
        for (int16_t c : state.Chan) chan << QString::number(c);
        for (int16_t l : state.Link) links << QString::number(l);
        return QStringLiteral("count %1 stage %2 chan %3 link %4 at %5:%6")
            .arg(state.FaderCount)
            .arg(state.GainStage)
            .arg(chan.join(QLatin1Char(',')), links.join(QLatin1Char(',')), state.IPAddress)
            .arg(state.IPPort);
    }
};
