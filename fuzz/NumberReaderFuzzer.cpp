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
void requireConversion(double value, std::optional<Int> converted) {
    const bool fits =
        value >= std::numeric_limits<Int>::min() && value <= std::numeric_limits<Int>::max();
    require(converted.has_value() == fits, "converted exactly when the number fits");
    require(!converted || *converted == value, "conversion keeps the value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double value = NumberReader::readNumber(text);
    require(std::isfinite(value) && value == std::trunc(value), "a finite whole number");
    require(value != 0 || !std::signbit(value), "never -0");
    require(value == NumberReader::readNumber(withoutBlanks(text)), "blanks are ignored");
    requireConversion(value, NumberReader::readInt16(text));
    requireConversion(value, NumberReader::readInt32(text));
    const std::optional<long long> oracle = oracleNumber(text);
    require(!oracle || static_cast<double>(*oracle) == value, "agrees with the oracle");
    return 0;
}
