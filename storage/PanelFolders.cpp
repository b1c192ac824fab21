#include "PanelFolders.h"

#include <QDir>
#include <QTemporaryFile>

#include "ErrorSink.h"

namespace {

const QString ProgramName = QStringLiteral("orx-level-control");

QString withSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

// $NAME when it is an absolute path, else $HOME/fallback.
QString baseFolder(const Environment& environment, const char* name, const QString& fallback) {
    const QString value = environment(name);
    if (QDir::isAbsolutePath(value)) return withSeparator(value);
    QString home = environment("HOME");
    if (home.isEmpty()) home = QDir::homePath();
    return withSeparator(home) + fallback;
}

}  // namespace

PanelFolders choosePanelFolders(const QString& programFolder, bool programFolderWritable,
                                const Environment& environment) {
    if (programFolderWritable) {
        const QString folder = withSeparator(programFolder);
        return {folder, folder};
    }
    return {baseFolder(environment, "XDG_CONFIG_HOME", QStringLiteral(".config/")) + ProgramName +
                QLatin1Char('/'),
            baseFolder(environment, "XDG_STATE_HOME", QStringLiteral(".local/state/")) +
                ProgramName + QLatin1Char('/')};
}

bool canWriteIn(const QString& folder) {
    QTemporaryFile probe(withSeparator(folder) + QStringLiteral(".write-test-XXXXXX"));
    return probe.open();
}

void makeFolder(const QString& folder, ErrorSink& log) {
    if (QDir().mkpath(folder)) return;
    log.LogError(QStringLiteral("Error creating folder ") + folder, QStringLiteral("File Error"));
}
