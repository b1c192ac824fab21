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

    void Message(int panel, Direction direction, const QByteArray& bytes, const QString& meaning);
    void Event(int panel, const QString& text);
    void Note(const QString& text);

private:
    void Line(const QString& text);

    bool quiet_;
    QTextStream out_;
};

// Spaced upper-case hex; long messages are cut after their first bytes.
QString HexText(const QByteArray& bytes);
// "0 dB", "+10.0 dB", "-2.4 dB" for a gain code (1024 = 0 dB, 0.1 dB steps).
QString DecibelText(int code);
// "stage 15 ch 6 (0-based 5) = 1024 (0 dB)"; several channels as "ch 6-7
// (0-based 5-6)", with one "= code" when they all have the same code.
QString GainsText(uint8_t stage, int first, const std::vector<int16_t>& codes);
