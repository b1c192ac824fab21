// The oracle works on the text with its blanks taken out: an optional sign,
// whole digits, and a fraction after one point; the fraction decides the
// rounding by comparing it, as a digit string, with one half.
#include "NumberOracle.h"

namespace {

constexpr int MaxExactDigits = 15;

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Digits from position at on; at is left after them.
QString digitsFrom(const QString& text, int& at) {
    const int start = at;
    while (at < text.size() && isDigit(text.at(at))) ++at;
    return text.mid(start, at - start);
}

// -1, 0 or 1 as the fraction's digits are below, at or above one half.
int compareWithHalf(const QString& fraction) {
    if (fraction.isEmpty()) return -1;
    const QString half = QStringLiteral("5").leftJustified(fraction.size(), QLatin1Char('0'));
    return QString::compare(fraction, half);
}

}  // namespace

QString withoutBlanks(const QString& text) {
    QString out = text;
    out.remove(QLatin1Char(' '));
    out.remove(QLatin1Char('\t'));
    return out;
}

std::optional<long long> oracleNumber(const QString& text) {
    const QString plain = withoutBlanks(text);
    int at = 0;
    bool negative = false;
    if (at < plain.size() &&
        (plain.at(at) == QLatin1Char('-') || plain.at(at) == QLatin1Char('+'))) {
        negative = plain.at(at) == QLatin1Char('-');
        ++at;
    }
    const QString whole = digitsFrom(plain, at);
    QString fraction;
    if (at < plain.size() && plain.at(at) == QLatin1Char('.')) {
        ++at;
        fraction = digitsFrom(plain, at);
    }
    if (whole.size() > MaxExactDigits) return std::nullopt;
    long long value = whole.isEmpty() ? 0 : whole.toLongLong();
    const int half = compareWithHalf(fraction);
    if (half > 0 || (half == 0 && value % 2 == 1)) ++value;
    return negative ? -value : value;
}
