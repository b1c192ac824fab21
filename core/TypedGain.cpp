#include "TypedGain.h"

#include <QRegularExpression>
#include <cmath>

namespace {
constexpr int ZeroDbCode = 1024;
constexpr int OffCode = 24;
constexpr double LowestDecibels = -100.0;   // "Off" from here down
constexpr double HighestDecibels = 1000.0;  // far beyond the travel; only guards the arithmetic
}  // namespace

std::optional<int> parseTypedGain(const QString& text) {
    const QString typed = text.trimmed();
    if (typed.compare(QStringLiteral("off"), Qt::CaseInsensitive) == 0) return OffCode;
    static const QRegularExpression gain(
        QStringLiteral(R"(^([+-]?\d+(?:[.,]\d*)?|[+-]?[.,]\d+)\s*(?:db)?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = gain.match(typed);
    if (!match.hasMatch()) return std::nullopt;
    bool ok = false;
    const double decibels =
        match.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(decibels) || decibels > HighestDecibels) return std::nullopt;
    if (decibels <= LowestDecibels) return OffCode;
    return ZeroDbCode + static_cast<int>(std::lround(decibels * 10));
}
