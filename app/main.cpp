// The panel's entry point: the window, its log and its link to the switcher.
#include <QApplication>

#include "ErrorLog.h"
#include "FontWarmUp.h"
#include "MainWindow.h"
#include "PanelFolders.h"
#include "PanelStyle.h"
#include "ShutdownSignals.h"
#include "SwitcherLinkFactory.h"

int main(int argc, char* argv[]) {
    FontWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setStyle(new PanelStyle);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.orx.LevelControl"));

    // Settings and log live beside the executable when its folder can be
    // written, else in the user's own folders.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const PanelFolders folders =
        choosePanelFolders(programFolder, canWriteIn(programFolder),
                           [](const char* name) { return qEnvironmentVariable(name); });
    ErrorLog log(folders.log);
    makeFolder(folders.log, log);
    makeFolder(folders.settings, log);

    fonts.wait();
    MainWindow window(folders.settings, log, &makeSwitcherLink, folders.log);

    ShutdownSignals signals;
    QObject::connect(&signals, &ShutdownSignals::shutdownRequested, &window, &QWidget::close);

    window.show();
    return app.exec();
}
