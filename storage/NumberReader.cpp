// The number at the start of a text, read the way the settings file and the
// setup dialog expect: forgiving about blanks and trailing junk, strict about
// the range of the variable it ends up in.
#include "NumberReader.h"

#include <limits>

namespace NumberReader {
namespace {

// Integer parts beyond this are out of every range we convert to; holding
// them at a fixed size keeps a line of a million digits from growing the
// value without bound.
constexpr double Saturated = 1e18;

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The rounding decision only needs the first fraction digit and whether any
// digit after it is nonzero, so the fraction is never held as a whole.
struct Fraction {
    int firstDigit = 0;
    bool restNonZero = false;
    bool seen = false;

    void add(int digit) {
        if (!seen) {
            firstDigit = digit;
            seen = true;
        } else if (digit != 0) {
            restNonZero = true;
        }
    }

    // Halves go to the even neighbour, so 0.5 and 2.5 round down, 1.5 up.
    bool roundsUp(double wholePart) const {
        if (firstDigit != 5) return firstDigit > 5;
        if (restNonZero) return true;
        const bool odd = wholePart < Saturated && static_cast<long long>(wholePart) % 2 != 0;
        return odd;
    }
};

enum class Stage { Sign, Whole, Fraction };

}  // namespace

double readNumber(const QString& text) {
    Stage stage = Stage::Sign;
    bool negative = false;
    double whole = 0;
    Fraction fraction;

    for (const QChar c : text) {
        if (isBlank(c)) continue;
        if (stage == Stage::Sign && (c == QLatin1Char('-') || c == QLatin1Char('+'))) {
            negative = c == QLatin1Char('-');
            stage = Stage::Whole;
        } else if (stage != Stage::Fraction && c == QLatin1Char('.')) {
            stage = Stage::Fraction;
        } else if (isDigit(c) && stage != Stage::Fraction) {
            stage = Stage::Whole;
            whole = whole < Saturated ? whole * 10 + c.digitValue() : Saturated;
        } else if (isDigit(c)) {
            fraction.add(c.digitValue());
        } else {
            break;
        }
    }

    if (fraction.roundsUp(whole) && whole < Saturated) whole += 1;
    if (whole == 0) return 0;  // no "-0" for "-0.4"
    return negative ? -whole : whole;
}

namespace {

template <typename Int>
std::optional<Int> readInt(const QString& text) {
    const double value = readNumber(text);
    if (value < static_cast<double>(std::numeric_limits<Int>::min()) ||
        value > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(value);
}

}  // namespace

std::optional<int16_t> readInt16(const QString& text) { return readInt<int16_t>(text); }

std::optional<int32_t> readInt32(const QString& text) { return readInt<int32_t>(text); }

}  // namespace NumberReader
