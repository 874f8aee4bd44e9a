#include "map/WholeNumbers.h"

#include <cmath>
#include <limits>

namespace ortolan::map {

namespace {

template <typename Int>
std::optional<Int> toWhole(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < double(std::numeric_limits<Int>::min()) || rounded > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return Int(rounded);
}

}  // namespace

std::optional<qint16> toInt16(double value) { return toWhole<qint16>(value); }
std::optional<qint32> toInt32(double value) { return toWhole<qint32>(value); }

}  // namespace ortolan::map
