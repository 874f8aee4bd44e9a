#pragma once

#include "tools/mapgen/GmtSegments.h"

namespace ortolan::mapgen {

// Turns the shoreline pieces of a GMT dump into closed rings. GMT cuts the
// shorelines at the box of -R: an island inside the box comes out closed,
// land that reaches beyond the box (the continents) as open pieces ending on
// the box's edges, which are closed here along the box.
class ShorelineAssembler {
public:
    // Land rings, clockwise (land on the right). Open pieces are first turned
    // so that the known sea point lies on their water side, then joined along
    // the box clockwise. Empty with *error set when a piece does not end on the box.
    static std::vector<Ring> landRings(const std::vector<Ring> &pieces, const GeoBox &box, QPointF seaPoint,
                                       QString *error);
    // Lake rings: open pieces (lakes cut by the box) are closed the short way along the box.
    static std::vector<Ring> lakeRings(const std::vector<Ring> &pieces, const GeoBox &box);
};

}  // namespace ortolan::mapgen
