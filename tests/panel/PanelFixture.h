// A main window on a temporary program folder, with a recording log and link,
// and the few steps the window tests share.
#pragma once

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "FaderBank.h"
#include "FaderStrip.h"
#include "MainWindow.h"
#include "Recorders.h"

struct FaderSetting {
    int chan;  // as the file holds it: 1-based outside Device ID mode
    int link;
};

// Faders 1..count on channels 1..count, none stereo.
inline QList<FaderSetting> Faders(int count) {
    QList<FaderSetting> faders;
    for (int i = 0; i < count; ++i) faders << FaderSetting{i + 1, 0};
    return faders;
}

inline LinkStatus InPhase(LinkPhase phase) {
    LinkStatus status;
    status.phase = phase;
    return status;
}

// Hands the next modal window to inspect, which must close it.
inline void OnNextModal(std::function<void(QWidget*)> inspect) {
    QTimer::singleShot(0, qApp, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        modal ? inspect(modal) : OnNextModal(inspect);
    });
}

struct PanelFixture {
    void WriteIni(int stage, const QList<FaderSetting>& faders) {
        QStringList lines{"[CONFIGURATION]", QStringLiteral("Gain Stage=%1").arg(stage),
                          QStringLiteral("Fader Count=%1").arg(faders.size())};
        for (int n = 1; n <= faders.size(); ++n) {
            lines << QStringLiteral("Chan %1=%2").arg(n).arg(faders[n - 1].chan)
                  << QStringLiteral("Link %1=%2").arg(n).arg(faders[n - 1].link);
        }
        QFile file(dir.filePath("Slider.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((lines.join("\r\n") + "\r\n").toLatin1());
    }

    QStringList IniLines() const {
        QFile file(dir.filePath("Slider.ini"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).split("\r\n")
                                              : QStringList();
    }

    MainWindow& Open() {
        window = std::make_unique<MainWindow>(
            dir.path(), log, [this](PanelState&, PanelView&, ErrorSink&) {
                auto recording = std::make_unique<RecordingLink>();
                link = recording.get();
                return recording;
            });
        return *window;
    }

    bool Show() {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    QAction* MenuItem(int menu, int item) const {
        return window->menuBar()->actions().at(menu)->menu()->actions().at(item);
    }

    // One text per strip: Texts(&FaderStrip::lblChan) gives every channel label.
    QStringList Texts(QLabel* (FaderStrip::*label)() const) const {
        QStringList texts;
        FaderBank& bank = window->Bank();
        for (int i = 0; i < bank.StripCount(); ++i) texts << (bank.Strip(i).*label)()->text();
        return texts;
    }

    QTemporaryDir dir;
    RecordingLog log;
    RecordingLink* link = nullptr;  // owned by the window
    std::unique_ptr<MainWindow> window;
};
