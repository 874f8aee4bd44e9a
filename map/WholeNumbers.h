#pragma once

#include <QtGlobal>

#include <optional>

namespace ortolan::map {

// Conversions of lengths and positions to the whole numbers that scroll bars
// and other controls hold: rounded to the nearest integer, halves to even (the
// default rounding mode of std::nearbyint). A value outside the target range,
// or not a number, is an error (no value), never a wrap-around.
std::optional<qint16> toInt16(double value);
std::optional<qint32> toInt32(double value);

}  // namespace ortolan::map
