// A main window on a temporary program folder, with a recording log and link.
#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "MainWindow.h"
#include "Recorders.h"

struct FaderSetting {
    int chan;  // as the file holds it: 1-based outside Device ID mode
    int link;
};

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

    QTemporaryDir dir;
    RecordingLog log;
    RecordingLink* link = nullptr;  // owned by the window
    std::unique_ptr<MainWindow> window;
};
