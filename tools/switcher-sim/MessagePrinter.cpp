#include "MessagePrinter.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr qsizetype HexShown = 48;  // bytes; a full name table would fill a screen
}

MessagePrinter::MessagePrinter(bool quiet) : m_quiet(quiet), m_out(stdout) {}

void MessagePrinter::message(int panel, Direction direction, const QByteArray& bytes,
                             const QString& meaning) {
    if (m_quiet) return;
    const QString arrow =
        direction == Direction::Sent ? QStringLiteral("->") : QStringLiteral("<-");
    line(QStringLiteral("#%1 %2 %3  %4").arg(panel).arg(arrow, hexText(bytes), meaning));
}

void MessagePrinter::event(int panel, const QString& text) {
    line(QStringLiteral("#%1 %2").arg(panel).arg(text));
}

void MessagePrinter::note(const QString& text) { line(text); }

void MessagePrinter::line(const QString& text) {
    m_out << text << '\n';
    m_out.flush();
}

QString hexText(const QByteArray& bytes) {
    QString text = QString::fromLatin1(bytes.left(HexShown).toHex(' ').toUpper());
    if (bytes.size() > HexShown) text += QStringLiteral(" ... (%1 bytes)").arg(bytes.size());
    return text;
}

QString decibelText(int code) {
    if (code == 1024) return QStringLiteral("0 dB");
    const double decibels = (code - 1024) / 10.0;
    return (decibels > 0 ? QStringLiteral("+") : QString()) + QString::number(decibels, 'f', 1) +
           QStringLiteral(" dB");
}

QString gainsText(uint8_t stage, int first, const std::vector<int16_t>& codes) {
    const int last = first + static_cast<int>(codes.size()) - 1;
    QString channels = QStringLiteral("ch %1 (0-based %2)").arg(first + 1).arg(first);
    if (last > first) {
        channels = QStringLiteral("ch %1-%2 (0-based %3-%4)")
                       .arg(first + 1)
                       .arg(last + 1)
                       .arg(first)
                       .arg(last);
    }
    QString text = QStringLiteral("stage %1 %2").arg(int{stage}).arg(channels);
    if (codes.empty()) return text;
    const bool allSame = std::all_of(codes.begin(), codes.end(),
                                     [&codes](int16_t code) { return code == codes.front(); });
    if (allSame)
        return text +
               QStringLiteral(" = %1 (%2)").arg(codes.front()).arg(decibelText(codes.front()));
    return text + QStringLiteral(", %1 codes").arg(codes.size());
}
