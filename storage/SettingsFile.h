// "Slider.ini" in the program's folder: the switcher's address and port, the
// gain stage, the fader count, and each fader's channel and stereo flag.
#pragma once

#include <QString>

class ErrorSink;
struct PanelState;

class SettingsFile {
public:
    SettingsFile(PanelState& state, ErrorSink& log);

    // Fills the settings of the state from the file; no file leaves them as
    // they are. A bad entry stops the read there, keeping what came before.
    void ReadIniFile();
    // Replaces the file with the current settings.
    void WriteIniFile();

    QString filePath() const;

private:
    PanelState& m_state;
    ErrorSink& m_log;
};
