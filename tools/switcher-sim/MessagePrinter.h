// The simulator's output: one line per message sent or received, with the
// panel's number, the direction ("->" sent, "<-" received), the bytes in hex
// and what they mean; and one line per event (connections, outages). Every
// line is flushed at once, so a reader sees it as it happens.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextStream>
#include <cstdint>
#include <vector>

enum class Direction { Sent, Received };

class MessagePrinter {
public:
    // quiet: message lines are left out; events are always printed.
    explicit MessagePrinter(bool quiet);

    void message(int panel, Direction direction, const QByteArray& bytes, const QString& meaning);
    void event(int panel, const QString& text);
    void note(const QString& text);

private:
    void line(const QString& text);

    bool m_quiet;
    QTextStream m_out;
};

// Spaced upper-case hex; long messages are cut after their first bytes.
QString hexText(const QByteArray& bytes);
// "0 dB", "+10.0 dB", "-2.4 dB" for a gain code (1024 = 0 dB, 0.1 dB steps).
QString decibelText(int code);
// "stage 15 ch 6 (0-based 5) = 1024 (0 dB)"; several channels as "ch 6-7
// (0-based 5-6)", with one "= code" when they all have the same code.
QString gainsText(uint8_t stage, int first, const std::vector<int16_t>& codes);
