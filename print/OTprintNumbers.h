#pragma once

#include <QtGlobal>

#include <cmath>
#include <limits>
#include <optional>

namespace ortolan::print {

// Rounding and integer conversions of the drawing engine. Every conversion of a
// computed value to a coordinate, colour component or counter goes through one
// of these, so "rounded" always means to the nearest integer with halves to even
// and a value that does not fit is reported, never wrapped.
namespace OTprintNumbers {

// Nearest integer, halves to even (std::nearbyint under the default rounding mode).
inline double roundHalfEven(double v)
{
    return std::nearbyint(v);
}

// v rounded (halves to even) as a 32-bit integer; nothing when v is not finite or
// the rounded value lies outside the 32-bit range.
inline std::optional<qint32> toInt32(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = roundHalfEven(v);
    if (r < double(std::numeric_limits<qint32>::min()) || r > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(r);
}

// The same for the 16-bit range.
inline std::optional<qint16> toInt16(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = roundHalfEven(v);
    if (r < double(std::numeric_limits<qint16>::min()) || r > double(std::numeric_limits<qint16>::max()))
        return std::nullopt;
    return qint16(r);
}

}  // namespace OTprintNumbers

}  // namespace ortolan::print
