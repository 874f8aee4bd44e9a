#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace ortolan::map {

// The distribution map of a taxon drawn without a window, as the map view
// shows it at the full view: background, optional grid, one red dot per
// occupied square. The world is the image (the picture's aspect at `width`).
struct HeadlessMap {
    QImage image;            // null when the background or the image could not be made
    int recordRows = 0;      // rows of the squares query
    int squaresDrawn = 0;
    QStringList messages;    // square codes the map cannot place, and other problems
};

// backgroundName is "ItaliaNEW.wmf" or "ItaliaREGIONI.wmf" in the application
// folder. Throws data::DataError when the squares cannot be read.
HeadlessMap drawTaxonMap(const QString &taxonCode, int width, bool grid, const QString &backgroundName);

}  // namespace ortolan::map
