// The panel's shared state: the settings, the switcher's tables and the link
// flags that every subsystem reads or writes. One instance is owned by the
// main window and handed to everything else by reference. Its initial values
// are the start-up ones: one fader on the first channel at gain stage 15, the
// switcher at 127.0.0.1 port 1250, every table empty, until "Slider.ini" says
// otherwise.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "ProtocolConstants.h"

// Gain codes are 16-bit: 1024 is 0 dB and one step is 0.1 dB.
struct InputGain {
    int16_t InputTrim = 0;         // stage 0
    int16_t InputSensitivity = 0;  // stage 1
};

struct OutputGain {
    int16_t DspOutput = 0;    // stage 15 (and 2, 16 from advanced reports)
    int16_t FinalOutput = 0;  // stage 3
};

struct CrosspointEntry {
    static constexpr int SourceSlots = 64;
    static constexpr int SourceRange = 1024;
    QString Sources;  // SourceRange characters of '0'/'1' once stored; empty before
    uint8_t HeaderByte = 0;
    uint8_t EntryCount = 0;
    std::array<int16_t, SourceSlots> SourceNumber{};  // source + 1, 0 = unused slot
    std::array<int16_t, SourceSlots> SourceValue{};
};

struct PanelState {
    static constexpr int InitialChannels = 1537;  // entries 0..1536
    static constexpr int CrosspointDestinations = 1025;
    static constexpr int16_t MaxFaders = 20;

    // Settings ("Slider.ini").
    QString AppPath;  // the executable's folder, ending in a separator
    QString IPAddress = QStringLiteral("127.0.0.1");
    int32_t IPPort = 1250;
    int16_t GainStage = GainStage::DspOutput;
    int16_t FaderCount = 1;
    std::vector<int16_t> Chan = std::vector<int16_t>(1, 0);  // 0-based channel, or device ID
    std::vector<int16_t> Link = std::vector<int16_t>(1, 0);  // stereo flag per fader

    // Fader bank.
    int16_t LoadedFaders = 1;
    bool UpdatingFaders = false;

    // Link.
    bool Connected = false;
    int32_t LastInfoRequest = 0;

    // The switcher's tables.
    std::vector<InputGain> InputGains = std::vector<InputGain>(InitialChannels);
    std::vector<OutputGain> OutputGains = std::vector<OutputGain>(InitialChannels);
    std::vector<QString> SourceAlpha;  // none until a source name table arrives
    std::vector<QString> DestinationAlpha = std::vector<QString>(InitialChannels);
    std::vector<int16_t> SourceLinks = std::vector<int16_t>(InitialChannels, 0);
    std::vector<int16_t> DestinationLinks = std::vector<int16_t>(InitialChannels, 0);
    int16_t SourceCount = 0;
    int16_t DestinationCount = 0;
    std::vector<CrosspointEntry> CrosspointMap =
        std::vector<CrosspointEntry>(CrosspointDestinations);
};
