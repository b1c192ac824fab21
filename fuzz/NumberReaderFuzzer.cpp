// The number reader on any text: a whole number, blind to blanks, converted
// only when it fits, and equal to the oracle's reading where that is exact.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "FuzzCheck.h"
#include "NumberOracle.h"
#include "NumberReader.h"

namespace {

template <typename Int>
void RequireConversion(double value, std::optional<Int> converted) {
    const bool fits =
        value >= std::numeric_limits<Int>::min() && value <= std::numeric_limits<Int>::max();
    Require(converted.has_value() == fits, "converted exactly when the number fits");
    Require(!converted || *converted == value, "conversion keeps the value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double value = NumberReader::ReadNumber(text);
    Require(std::isfinite(value) && value == std::trunc(value), "a finite whole number");
    Require(value != 0 || !std::signbit(value), "never -0");
    Require(value == NumberReader::ReadNumber(WithoutBlanks(text)), "blanks are ignored");
    RequireConversion(value, NumberReader::ReadInt16(text));
    RequireConversion(value, NumberReader::ReadInt32(text));
    const std::optional<long long> oracle = OracleNumber(text);
    Require(!oracle || static_cast<double>(*oracle) == value, "agrees with the oracle");
    return 0;
}
