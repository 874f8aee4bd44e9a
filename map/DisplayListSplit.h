#pragma once

#include "metafile/DisplayList.h"

namespace ortolan::map {

// What splitDisplayList() cut.
struct SplitCounts {
    int outlineRuns = 0;  // stroke runs cut from long outlines
    int fillPieces = 0;   // pieces cut from large fills
};

// The same drawing as `list`, cut so that the metafile player, which skips
// every shape whose bounds miss the view, draws little more than what a zoomed
// view shows:
//  - long solid outlines drawn in copy mode become runs of at most forty
//    segments, each with its own bounds (a dash pattern would restart at every
//    cut and a mixing mode would mark it, so those stay whole);
//  - large solid fills become pieces, one per cell of a 16 x 16 grid over the
//    picture. Neighbouring pieces overlap by a small margin and are opaque in
//    the same colour, so their antialiased cut edges leave no seam.
// Drawing order is kept: a shape's fill pieces come before its outline runs,
// and shapes follow each other as before. Round pen joins become bevelled ones,
// which look the same on lines a few pixels wide and cost far less.
metafile::DisplayList splitDisplayList(const metafile::DisplayList &list, SplitCounts *counts = nullptr);

}  // namespace ortolan::map
