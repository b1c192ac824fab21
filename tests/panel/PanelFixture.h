// A main window on a temporary program folder, with a recording log and link.
#pragma once

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "FaderBank.h"
#include "FaderStrip.h"
#include "MainWindow.h"
#include "Recorders.h"
#include "StripParts.h"

// One {channel as the file holds it, link} pair per fader.
using FaderSettings = QList<QPair<int, int>>;

// Faders 1..count on channels 1..count, none stereo.
inline FaderSettings faders(int count) {
    FaderSettings faders;
    for (int i = 1; i <= count; ++i) faders << qMakePair(i, 0);
    return faders;
}

// Hands the next modal window to inspect, which must close it.
inline void onNextModal(const std::function<void(QWidget*)>& inspect) {
    QTimer::singleShot(0, qApp, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        modal ? inspect(modal) : onNextModal(inspect);
    });
}

struct PanelFixture {
    void writeIni(int stage, const FaderSettings& faders) {
        QFile file(dir.filePath("Slider.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[CONFIGURATION]\r\nGain Stage=") + QByteArray::number(stage) +
                   "\r\nFader Count=" + QByteArray::number(faders.size()) + "\r\n");
        for (int n = 1; n <= faders.size(); ++n) {
            const auto [chan, stereo] = faders[n - 1];
            file.write(
                QString::asprintf("Chan %d=%d\r\nLink %d=%d\r\n", n, chan, n, stereo).toLatin1());
        }
    }

    MainWindow& open() {
        window = std::make_unique<MainWindow>(dir.path(), log, [this](auto&&...) {
            auto made = std::make_unique<RecordingLink>();
            link = made.get();
            return made;
        });
        return *window;
    }

    bool show() {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    QAction* menuItem(int menu, int item) const {
        return window->menuBar()->actions().at(menu)->menu()->actions().at(item);
    }

    QTemporaryDir dir;
    RecordingLog log;
    RecordingLink* link = nullptr;  // owned by the window
    std::unique_ptr<MainWindow> window;
};
