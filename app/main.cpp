// The panel's entry point: the window, its log and its link to the switcher.
#include <QApplication>
#include <QDir>

#include "ErrorLog.h"
#include "FontWarmUp.h"
#include "MainWindow.h"
#include "PanelStyle.h"
#include "ShutdownSignals.h"
#include "SwitcherLinkFactory.h"

int main(int argc, char* argv[]) {
    FontWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setStyle(new PanelStyle);
    // Settings and log live beside the executable, wherever it was started from.
    QString appPath = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!appPath.endsWith(QDir::separator())) appPath += QDir::separator();

    ErrorLog log(appPath);
    fonts.wait();
    MainWindow window(appPath, log, &makeSwitcherLink);

    ShutdownSignals signals;
    QObject::connect(&signals, &ShutdownSignals::shutdownRequested, &window, &QWidget::close);

    window.show();
    return app.exec();
}
