// A setup dialog over a panel state chosen by the test, with the link calls
// and the two "&Ok" actions recorded in the order they happen.
#pragma once

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

struct SetupFixture {
    PanelState state;
    QStringList calls;
    OrderedLink link{calls, state};
    RecordingLog log;
    std::unique_ptr<SetupDialog> dialog;

    void Open(int16_t gainStage, const QList<int>& channels) {
        state.GainStage = gainStage;
        state.FaderCount = int16_t(channels.size());
        state.Chan.assign(channels.begin(), channels.end());
        state.Link.assign(channels.size(), 0);
        SetupActions actions{[this] { calls << QStringLiteral("startGainTimer"); },
                             [this] { calls << QStringLiteral("writeSettings"); }};
        dialog = std::make_unique<SetupDialog>(state, link, log, actions);
    }

    // Shown and active, so that focus moves as an operator's would.
    bool Show() {
        dialog->show();
        return QTest::qWaitForWindowActive(dialog.get());
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
};

// Twips of the layout as the design gives them, in pixels.
inline QRect PixelRect(int left, int top, int width, int height) {
    return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}
