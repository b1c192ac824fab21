// The real main window and switcher link on a temporary program folder whose
// settings put faders 1..n on channels 1..n of a switcher on a loopback port.
// For tests that link the panel library.
#pragma once

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <memory>

#include "FaderBank.h"
#include "FaderSlider.h"
#include "FaderStrip.h"
#include "GainReadout.h"
#include "MainWindow.h"
#include "ProgramFolder.h"
#include "Recorders.h"
#include "StripParts.h"
#include "SwitcherLinkFactory.h"

struct LivePanel {
    LivePanel(quint16 port, int stage, int faders) {
        WriteFile(dir.filePath(QStringLiteral("Slider.ini")),
                  SettingsText(port, stage, QList<int>(faders, 0)));
        window = std::make_unique<MainWindow>(dir.path(), log, &MakeSwitcherLink);
        window->show();
    }
    PanelState& State() const { return window->State(); }
    FaderStrip& Strip(int i) const { return window->Bank().Strip(i); }
    FaderSlider& Slider(int i) const { return *SliderOf(Strip(i)); }
    QString Name(int i) const { return Strip(i).ChannelName().trimmed(); }
    QStringList Names() const {
        QStringList names;
        for (int i = 0; i < State().FaderCount; ++i) names << Name(i);
        return names;
    }
    // Every fader shows the gain the switcher reported for its channel.
    bool Drawn() const {
        for (int i = 0; i < State().FaderCount; ++i) {
            const int16_t code = StoredGain(State(), i);
            if (code == 0 || Slider(i).value() != -code) return false;
        }
        return true;
    }
    QAction* Menu(const QString& text) const {
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->text() == text) return action;
        }
        return nullptr;
    }
    bool Logged(const QString& description, const QString& location) const {
        return log.entries.contains({description, location});
    }
    // The log as one line, for a failure message.
    QByteArray LogText() const {
        QStringList lines;
        for (const auto& entry : log.entries) lines << entry.second + ": " + entry.first;
        return lines.join(QStringLiteral("; ")).toUtf8();
    }

    QTemporaryDir dir;
    RecordingLog log;
    std::unique_ptr<MainWindow> window;
};
