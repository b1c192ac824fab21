// The panel is started as the program's main starts it (the real log, the
// real link); the floor is the least a window of 20 faders can cost in Qt,
// at the panel's size, since a window's pixels are part of its memory.
#include "StartupWindows.h"

#include <sys/resource.h>

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QSlider>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "ErrorLog.h"
#include "FontWarmUp.h"
#include "MainWindow.h"
#include "PanelStyle.h"
#include "SwitcherLinkFactory.h"

namespace {

constexpr int SettleMs = 200;  // after the first paint, before the peak is read

// Reports the window's first paint once that paint, children included, is
// done, then ends the process a moment later.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            const QSize size = static_cast<QWidget*>(watched)->size();
            QTimer::singleShot(0, this, [size] {
                std::printf("%s %d %d\n", PaintedLine, size.width(), size.height());
                std::fflush(stdout);
                QTimer::singleShot(SettleMs, qApp, &QCoreApplication::quit);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

std::unique_ptr<QWidget> floorWindow(int width, int height) {
    auto window = std::make_unique<QWidget>();
    auto* row = new QHBoxLayout(window.get());
    for (int i = 0; i < 20; ++i) row->addWidget(new QSlider(Qt::Vertical));
    window->resize(width, height);
    return window;
}

long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int runStartUpChild(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc < 4) return 2;
    const bool panel = QByteArray(argv[2]) == PanelMode;
    // The panel starts as the program's main starts it.
    std::unique_ptr<FontWarmUp> fonts;
    if (panel) fonts = std::make_unique<FontWarmUp>();
    QApplication app(argc, argv);
    std::unique_ptr<ErrorLog> log;
    std::unique_ptr<QWidget> window;
    if (panel) {
        QApplication::setStyle(new PanelStyle);
        const QString folder = QString::fromLocal8Bit(argv[3]) + QLatin1Char('/');
        log = std::make_unique<ErrorLog>(folder);
        fonts->wait();
        window = std::make_unique<MainWindow>(folder, *log, &makeSwitcherLink);
    } else if (argc >= 5) {
        window = floorWindow(QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toInt());
    } else {
        return 2;
    }
    FirstPaint watch;
    window->installEventFilter(&watch);
    window->show();
    const int status = app.exec();
    std::printf("%s %ld\n", PeakLine, peakKb());
    std::fflush(stdout);
    return status;
}
