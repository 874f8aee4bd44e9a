// ortolan-cli locate / readout: the square locator and the cursor read-out of
// the map's zone geometry, on a world of a given size.
#include "app/cli/CliCommand.h"
#include "map/ZoneGeometry.h"

namespace ortolan::cli {

namespace {

// The shipped background pictures measure 110 x 146 mm, in units of 0.01 mm.
constexpr double kPictureWidth = 11000.0;
constexpr double kPictureHeight = 14600.0;

const QString kSizeHelp = QStringLiteral(
    "  --width W, --height H   size of the world (default 11000 x 14600, the background\n"
    "                          pictures' natural size in 0.01 mm); x runs right, y down");

// Reads --width and --height; false (with a message) when either is not a positive number.
bool takeWorldSize(QStringList &args, double &width, double &height)
{
    bool missing = false;
    const QString w = takeOption(args, QStringLiteral("--width"), QString::number(kPictureWidth), &missing);
    const QString h = takeOption(args, QStringLiteral("--height"), QString::number(kPictureHeight), &missing);
    bool okW = false;
    bool okH = false;
    width = w.toDouble(&okW);
    height = h.toDouble(&okH);
    if (missing || !okW || !okH || !(width > 0.0) || !(height > 0.0)) {
        err(QStringLiteral("--width and --height take positive numbers"));
        return false;
    }
    return true;
}

QString number(double v) { return QString::number(v, 'f', 3); }

int runLocate(QStringList args)
{
    double width = 0.0;
    double height = 0.0;
    if (!takeWorldSize(args, width, height))
        return 2;
    if (args.size() != 1) {
        err(QStringLiteral("locate takes one square code, e.g. 'locate UG12'"));
        return 2;
    }
    const map::ZoneGeometry geometry(width, height);
    const auto at = geometry.locate(args.first());
    if (!at) {
        err(QStringLiteral("not a square code of zones 32, 33 or 34: ") + args.first());
        return 2;
    }
    out(QStringLiteral("zone ") + QString::number(at->zone) + QStringLiteral("  x ") + number(at->centre.x())
        + QStringLiteral("  y ") + number(at->centre.y()));
    return 0;
}

int runReadout(QStringList args)
{
    double width = 0.0;
    double height = 0.0;
    if (!takeWorldSize(args, width, height))
        return 2;
    bool okX = false;
    bool okY = false;
    const double x = args.value(0).toDouble(&okX);
    const double y = args.value(1).toDouble(&okY);
    if (args.size() != 2 || !okX || !okY) {
        err(QStringLiteral("readout takes a world point X Y"));
        return 2;
    }
    const map::ZoneGeometry geometry(width, height);
    const map::UtmReadout r = geometry.readout(QPointF(x, y));
    out(QStringLiteral("zone ") + QString::number(r.zone) + QStringLiteral("  easting ") + number(r.eastingKm)
        + QStringLiteral(" km  northing ") + number(r.northingKm) + QStringLiteral(" km  square ") + r.squareCode);
    return 0;
}

const CliRegistrar locateCommand({
    QStringLiteral("locate"),
    QStringLiteral("locate CODE [--width W --height H]"),
    QStringLiteral("Prints the zone and the world point of the centre of a UTM 10-km square code\n"
                   "(no database needed).\n")
        + kSizeHelp + QStringLiteral("\nExit status: 0 printed, 2 bad usage or a code the locator does not know."),
    [](const QStringList &args) { return runLocate(args); },
});

const CliRegistrar readoutCommand({
    QStringLiteral("readout"),
    QStringLiteral("readout X Y [--width W --height H]"),
    QStringLiteral("Prints the UTM zone, easting and northing (km) and square code of a world point\n"
                   "(no database needed).\n")
        + kSizeHelp + QStringLiteral("\nExit status: 0 printed, 2 bad usage."),
    [](const QStringList &args) { return runReadout(args); },
});

}  // namespace

}  // namespace ortolan::cli
