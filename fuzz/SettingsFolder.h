// A private folder in which the settings fuzzer puts "Slider.ini", reads it
// into a fresh panel state, and writes the state back, as the panel does at
// start-up and shutdown. Also the ranges every read must leave the settings in.
#pragma once

#include <QByteArray>
#include <QTemporaryDir>

#include "PanelState.h"
#include "Recorders.h"

struct SettingsRead {
    PanelState state;
    RecordingLog log;
};

class SettingsFolder {
public:
    void put(const QByteArray& fileBytes) const;
    // A panel state with its defaults, then the file read into it.
    SettingsRead read() const;
    // True when the write reported nothing.
    bool write(PanelState& state) const;

private:
    QString appPath() const;

    QTemporaryDir m_dir;
};

// Whatever the file holds, the settings read from it are within their ranges
// and at most the one read failure is logged.
void requireSettingsInRange(const SettingsRead& read);
// The settings the panel keeps between runs are the same in both states.
void requireSameSettings(const PanelState& a, const PanelState& b);
