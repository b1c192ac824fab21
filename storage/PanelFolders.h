// Where "Slider.ini", "Panel.ini" and "Errorlog.txt" live. Beside the
// program when its folder can be written (a build folder, a copied
// program): as the panel has always kept them. When it cannot (a system-wide
// install), in the user's own folders as the desktop's conventions have it:
// the settings in the configuration folder, the logs in the state folder.
#pragma once

#include <QString>
#include <functional>

class ErrorSink;

struct PanelFolders {
    QString settings;  // ends in a separator
    QString log;       // ends in a separator
};

// The environment as the choice needs it: a variable's value, empty when
// unset.
using Environment = std::function<QString(const char* name)>;

// The folders for a program folder that can or cannot be written. Relative
// XDG_CONFIG_HOME or XDG_STATE_HOME values are ignored, as the desktop's
// conventions say.
PanelFolders choosePanelFolders(const QString& programFolder, bool programFolderWritable,
                                const Environment& environment);

// Whether a file can be made in folder: tried, not guessed from its mode
// bits, which say nothing of a read-only mount or of a privileged user.
bool canWriteIn(const QString& folder);

// Makes the folder and the ones above it when missing; a failure is logged
// as a file failure and the panel carries on without the folder.
void makeFolder(const QString& folder, ErrorSink& log);
