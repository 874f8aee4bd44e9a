#pragma once

#include "map/MapButtons.h"

namespace ortolan::browser {

// Positions of the species window's toolbar buttons (from 1, separators
// counted), as the commands address them.
namespace Toolbar1Button {
constexpr int Expand = 1;
constexpr int Collapse = 2;
constexpr int Sort = 4;
constexpr int Search = 5;
constexpr int Card = 7;
constexpr int Sites = 8;
constexpr int Sources = 9;
constexpr int Map = 11;
constexpr int Help = 12;
}  // namespace Toolbar1Button

namespace Toolbar2Button {
constexpr int FullExtent = 1;
// The map's own buttons keep the positions the map reads and sets.
constexpr int Select = map::MapButton::Select;
constexpr int Grid = map::MapButton::Grid;
constexpr int ZoomIn = map::MapButton::ZoomIn;
constexpr int ZoomOut = map::MapButton::ZoomOut;
constexpr int Area = map::MapButton::Area;
constexpr int Pan = map::MapButton::Pan;
constexpr int Copy = 10;
constexpr int PrintColour = 11;
constexpr int PrintBlackWhite = 12;
constexpr int Background = 14;
constexpr int Tree = 16;
}  // namespace Toolbar2Button

}  // namespace ortolan::browser
