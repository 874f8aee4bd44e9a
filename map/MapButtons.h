#pragma once

namespace ortolan::map {

// Positions of the map tool bar's buttons that the map reads and sets (from 1,
// separators counted): square selection and grid are check buttons; zoom in,
// zoom out, zoom area and pan form a group of which at most one is pressed.
namespace MapButton {
constexpr int Select = 2;
constexpr int Grid = 3;
constexpr int ZoomIn = 5;
constexpr int ZoomOut = 6;
constexpr int Area = 7;
constexpr int Pan = 8;
}  // namespace MapButton

}  // namespace ortolan::map
