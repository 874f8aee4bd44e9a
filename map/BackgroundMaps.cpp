#include "map/BackgroundMaps.h"

#include "app/Settings.h"

namespace ortolan::map::backgrounds {

QString path(const QString &name) { return settings().ApplicationFolder + QStringLiteral("/") + name; }

QString printPath(const QString &current, const QString &colourMode)
{
    if (colourMode == QStringLiteral("BW") && current == Hydrography)
        return path(HydrographyBlackWhite);
    return path(current);
}

}  // namespace ortolan::map::backgrounds
