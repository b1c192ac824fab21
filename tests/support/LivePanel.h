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
        writeFile(dir.filePath(QStringLiteral("Slider.ini")),
                  settingsText(port, stage, QList<int>(faders, 0)));
        window = std::make_unique<MainWindow>(dir.path(), log, &makeSwitcherLink);
        window->show();
    }
    PanelState& state() const { return window->state(); }
    FaderStrip& strip(int i) const { return window->bank().strip(i); }
    FaderSlider& slider(int i) const { return *sliderOf(strip(i)); }
    QString name(int i) const { return strip(i).channelName().trimmed(); }
    QStringList names() const {
        QStringList names;
        for (int i = 0; i < state().FaderCount; ++i) names << name(i);
        return names;
    }
    // Every fader shows the gain the switcher reported for its channel.
    bool drawn() const {
        for (int i = 0; i < state().FaderCount; ++i) {
            const int16_t code = storedGain(state(), i);
            if (code == 0 || slider(i).value() != -code) return false;
        }
        return true;
    }
    QAction* menu(const QString& text) const {
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->text() == text) return action;
        }
        return nullptr;
    }
    bool logged(const QString& description, const QString& location) const {
        return log.entries.contains({description, location});
    }
    // The log as one line, for a failure message.
    QByteArray logText() const {
        QStringList lines;
        for (const auto& entry : log.entries) lines << entry.second + ": " + entry.first;
        return lines.join(QStringLiteral("; ")).toUtf8();
    }

    QTemporaryDir dir;
    RecordingLog log;
    std::unique_ptr<MainWindow> window;
};
