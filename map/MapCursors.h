#pragma once

#include "map/MapViewModel.h"

#include <QCursor>

namespace ortolan::map {

// The mouse pointer of each map cursor shape: the platform's cross, hands,
// four-way arrow and arrow with question mark, and two magnifying glasses
// (with "+" for zoom in, "-" for zoom out) drawn here, as the platform has none.
QCursor mapCursor(MapCursor shape);

}  // namespace ortolan::map
