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

// v rounded (halves to even) as an integer of type I; nothing when v is not
// finite or the rounded value lies outside the range of I.
template <typename I>
std::optional<I> toInteger(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = roundHalfEven(v);
    if (r < double(std::numeric_limits<I>::min()) || r > double(std::numeric_limits<I>::max()))
        return std::nullopt;
    return I(r);
}

// The two conversions the engine uses: 32-bit coordinates and sizes, 16-bit
// counters and text flags.
inline std::optional<qint32> toInt32(double v)
{
    return toInteger<qint32>(v);
}
inline std::optional<qint16> toInt16(double v)
{
    return toInteger<qint16>(v);
}

}  // namespace OTprintNumbers

}  // namespace ortolan::print
