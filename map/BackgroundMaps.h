#pragma once

#include <QString>

// The background maps of the distribution map: vector pictures of Italy in the
// program's own folder, all in the same geographic frame and of the same size.
namespace ortolan::map::backgrounds {

// Hydrography (the default) and administrative regions, in colour.
inline const QString Hydrography = QStringLiteral("ItaliaNEW.wmf");
inline const QString Regions = QStringLiteral("ItaliaREGIONI.wmf");
// Black-and-white hydrography, used only for printing.
inline const QString HydrographyBlackWhite = QStringLiteral("ItaliaNEW_BW.wmf");

// The file of a background: application folder, "/" and the name.
QString path(const QString &name);

// The background file of the printed map for the background in use and the
// print colour mode ("Colori" or "BW"): black-and-white printing of the
// hydrography uses its black-and-white variant; the regions print the same in
// both modes.
QString printPath(const QString &current, const QString &colourMode);

}  // namespace ortolan::map::backgrounds
