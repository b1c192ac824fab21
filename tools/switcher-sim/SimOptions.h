// The simulator's command line: where it listens, how big a switcher it plays,
// and which faults it puts on the wire.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct SimOptions {
    QString listenAddress = QStringLiteral("127.0.0.1");
    uint16_t port = 1250;  // 0: any free port (the one taken is printed)
    int sources = 32;
    int destinations = 32;
    bool advanced = false;          // report gains as advanced gain messages
    int16_t maxGain = 16383;        // gain code; changes above it are limited to it
    double wanderSeconds = 0;       // 0: the switcher moves no gain by itself
    double keepAliveSeconds = 5;    // 0: no keep-alive questions
    bool split = false;             // writes in random small pieces
    int corruptEvery = 0;           // 0: no checksum is corrupted
    int closeAfter = 0;             // 0: connections stay open
    double outageAfterSeconds = 0;  // with outageSeconds > 0: one listener outage
    double outageSeconds = 0;
    uint32_t seed = 1;
    bool quiet = false;
};

// Timer intervals from the options' seconds.
inline int milliseconds(double seconds) { return static_cast<int>(seconds * 1000); }

struct ParsedOptions {
    SimOptions options;
    bool helpRequested = false;
    QString helpText;
    QString error;  // empty when the command line was understood
};

// arguments: as QCoreApplication::arguments() gives them, program name first.
ParsedOptions parseSimOptions(const QStringList& arguments);

// A gain limit as a code ("1124") or in decibels ("10dB", "+10 dB", "-3.5dB").
// Fails outside the codes a 7-bit pair can carry (0 to 16383).
std::optional<int16_t> parseGainLimit(const QString& text);
