#include "TypedGain.h"

#include <QRegularExpression>
#include <cmath>

#include "GainCode.h"

namespace {
constexpr double HighestDecibels = 1000.0;  // far beyond the travel; only guards the arithmetic
}  // namespace

std::optional<int> parseTypedGain(const QString& text) {
    const QString typed = text.trimmed();
    if (typed.compare(QStringLiteral("off"), Qt::CaseInsensitive) == 0) return GainCode::Off;
    static const QRegularExpression gain(
        QStringLiteral(R"(^([+-]?\d+(?:[.,]\d*)?|[+-]?[.,]\d+)\s*(?:db)?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = gain.match(typed);
    if (!match.hasMatch()) return std::nullopt;
    bool ok = false;
    const double decibels =
        match.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(decibels) || decibels > HighestDecibels) return std::nullopt;
    return GainCode::codeOf(decibels);
}
