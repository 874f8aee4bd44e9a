#pragma once

#include "support/FixtureDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <shapefil.h>

#include <optional>

namespace ortolan::test {

// A fixture database with the standard checklist and a shapefile template of
// its four squares (one square polygon per QuadUTM row, in that order) in a
// data folder of its own; outputs go to out().
struct ExportFixture {
    QTemporaryDir dir;
    FixtureDatabase database{dir.path()};
    QString dataFolder = dir.path() + QStringLiteral("/Data/");
    QString outFolder = dir.path() + QStringLiteral("/MyData/");

    ExportFixture()
    {
        database.addStandardChecklist();
        QDir().mkpath(dataFolder);
        QDir().mkpath(outFolder);
        const QByteArray base = QFile::encodeName(dataFolder + QStringLiteral("qutm32"));
        SHPHandle shp = SHPCreate(base.constData(), SHPT_POLYGON);
        // MG34, NF00, UG12, WA00: the row order of the fixture's QuadUTM.
        const double corners[4][2] = {{1330000, 4540000}, {400000, 5000000}, {310000, 5120000}, {1200000, 4400000}};
        for (const auto &c : corners) {
            double x[5] = {c[0], c[0], c[0] + 10000, c[0] + 10000, c[0]};
            double y[5] = {c[1], c[1] + 10000, c[1] + 10000, c[1], c[1]};
            SHPObject *square = SHPCreateSimpleObject(SHPT_POLYGON, 5, x, y, nullptr);
            SHPWriteObject(shp, -1, square);
            SHPDestroyObject(square);
        }
        SHPClose(shp);
        QFile prj(dataFolder + QStringLiteral("qutm32.prj"));
        if (prj.open(QIODevice::WriteOnly))
            prj.write("PROJCS[\"WGS_1984_UTM_Zone_32N\"]");
    }

    QString out(const QString &name) const { return outFolder + name; }
};

// ogrinfo's full listing of a file; nullopt without GDAL's ogrinfo.
inline std::optional<QString> ogrListing(const QString &path)
{
    QProcess ogr;
    ogr.start(QStringLiteral("ogrinfo"), {QStringLiteral("-ro"), QStringLiteral("-al"), path});
    if (!ogr.waitForStarted(10000) || !ogr.waitForFinished(120000) || ogr.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return QString::fromUtf8(ogr.readAllStandardOutput());
}

}  // namespace ortolan::test
