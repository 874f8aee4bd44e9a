#include "tools/mapgen/ShapefileTemplate.h"

#include "tools/mapgen/StagedFiles.h"
#include "tools/mapgen/UtmProjection.h"

#include <shapefil.h>

#include <memory>

namespace ortolan::mapgen {

namespace {

const QString kBase = QStringLiteral("squares/qutm32");

struct ShpCloser {
    void operator()(SHPInfo *h) const { SHPClose(h); }
};
struct DbfCloser {
    void operator()(DBFInfo *h) const { DBFClose(h); }
};

}  // namespace

std::vector<QPointF> ShapefileTemplate::corners(const SquareRow &row, const UtmProjection &projection)
{
    const double w = row.westEasting;
    const double s = row.southNorthing;
    const double side = SquareTable::kSquareMetres;
    std::vector<QPointF> ring;
    for (const QPointF &corner : {QPointF(w, s), QPointF(w, s + side), QPointF(w + side, s + side), QPointF(w + side, s)})
        ring.push_back(row.zone == 32 ? corner : projection.between(row.zone, 32, corner));
    ring.push_back(ring.front());
    return ring;
}

bool ShapefileTemplate::write(const std::vector<SquareRow> &rows, const UtmProjection &projection,
                              StagedFiles &staged, QString *error)
{
    const QString base = staged.stage(kBase + QStringLiteral(".shp")).chopped(4);
    staged.stage(kBase + QStringLiteral(".shx"));
    {
        std::unique_ptr<SHPInfo, ShpCloser> shp(SHPCreate(base.toLocal8Bit().constData(), SHPT_POLYGON));
        if (!shp) {
            *error = QStringLiteral("cannot create the shapefile ") + base + QStringLiteral(".shp");
            return false;
        }
        for (const SquareRow &row : rows) {
            const std::vector<QPointF> ring = corners(row, projection);
            std::vector<double> x, y;
            for (const QPointF &p : ring) {
                x.push_back(p.x());
                y.push_back(p.y());
            }
            SHPObject *object = SHPCreateSimpleObject(SHPT_POLYGON, int(ring.size()), x.data(), y.data(), nullptr);
            const int written = object ? SHPWriteObject(shp.get(), -1, object) : -1;
            SHPDestroyObject(object);
            if (written < 0) {
                *error = QStringLiteral("cannot write square ") + row.code + QStringLiteral(" to the shapefile");
                return false;
            }
        }
    }
    {
        const QString dbfPath = staged.stage(kBase + QStringLiteral(".dbf"));
        std::unique_ptr<DBFInfo, DbfCloser> dbf(DBFCreate(dbfPath.toLocal8Bit().constData()));
        if (!dbf || DBFAddField(dbf.get(), "UTM", FTString, 4, 0) < 0) {
            *error = QStringLiteral("cannot create the attribute table ") + dbfPath;
            return false;
        }
        // A fixed date keeps the file the same from run to run: the vintage of the limits.
        DBFSetLastModifiedDate(dbf.get(), 2023 - 1900, 1, 1);
        for (size_t i = 0; i < rows.size(); ++i) {
            if (!DBFWriteStringAttribute(dbf.get(), int(i), 0, rows[i].code.toLatin1().constData())) {
                *error = QStringLiteral("cannot write square ") + rows[i].code + QStringLiteral(" to ") + dbfPath;
                return false;
            }
        }
    }
    const QString wkt = projection.esriWkt(32);
    if (wkt.isEmpty()) {
        *error = QStringLiteral("PROJ gives no WKT for EPSG:32632");
        return false;
    }
    return staged.write(kBase + QStringLiteral(".prj"), wkt.toUtf8(), error);
}

}  // namespace ortolan::mapgen
