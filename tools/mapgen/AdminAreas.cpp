#include "tools/mapgen/AdminAreas.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace ortolan::mapgen {

namespace {

QJsonDocument readJson(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + path + QStringLiteral(": ") + file.errorString();
        return QJsonDocument();
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (doc.isNull())
        *error = path + QStringLiteral(": ") + parseError.errorString();
    return doc;
}

Ring ringFromPositions(const QJsonArray &positions)
{
    Ring ring;
    ring.reserve(size_t(positions.size()));
    for (const QJsonValue &v : positions) {
        const QJsonArray p = v.toArray();
        ring.emplace_back(p.at(0).toDouble(), p.at(1).toDouble());
    }
    // GeoJSON repeats the first position at the end; our rings do not.
    if (ring.size() > 1 && ring.front() == ring.back())
        ring.pop_back();
    return ring;
}

Polygon polygonFromGeoJson(const QJsonArray &rings)
{
    Polygon polygon;
    for (const QJsonValue &r : rings)
        polygon.rings.push_back(ringFromPositions(r.toArray()));
    return polygon;
}

// Adds the polygons of a GeoJSON or TopoJSON "Polygon" or "MultiPolygon"
// geometry, whose rings polygonOf turns into a polygon.
template <typename PolygonOf>
void addPolygons(AdminArea &area, const QJsonObject &geometry, const QString &member, PolygonOf polygonOf)
{
    const QString type = geometry.value(QStringLiteral("type")).toString();
    const QJsonArray parts = geometry.value(member).toArray();
    if (type == QStringLiteral("Polygon")) {
        area.polygons.push_back(polygonOf(parts));
    } else if (type == QStringLiteral("MultiPolygon")) {
        for (const QJsonValue &p : parts)
            area.polygons.push_back(polygonOf(p.toArray()));
    }
}

}  // namespace

std::vector<AdminArea> AdminAreas::readRegions(const QString &path, QString *error)
{
    const QJsonDocument doc = readJson(path, error);
    std::vector<AdminArea> regions;
    for (const QJsonValue &f : doc.object().value(QStringLiteral("features")).toArray()) {
        const QJsonObject feature = f.toObject();
        const QJsonObject geometry = feature.value(QStringLiteral("geometry")).toObject();
        AdminArea area;
        area.name = feature.value(QStringLiteral("properties")).toObject().value(QStringLiteral("reg_name")).toString();
        area.regionName = area.name;
        addPolygons(area, geometry, QStringLiteral("coordinates"), polygonFromGeoJson);
        if (!area.name.isEmpty() && !area.polygons.empty())
            regions.push_back(std::move(area));
    }
    if (regions.empty() && error->isEmpty())
        *error = path + QStringLiteral(": no regions (features with reg_name and polygons)");
    return regions;
}

std::vector<AdminArea> AdminAreas::readProvinces(const QString &path, QString *error)
{
    const QJsonDocument doc = readJson(path, error);
    const QJsonObject topology = doc.object();
    const QJsonObject transform = topology.value(QStringLiteral("transform")).toObject();
    const QJsonArray scale = transform.value(QStringLiteral("scale")).toArray();
    const QJsonArray translate = transform.value(QStringLiteral("translate")).toArray();
    const bool quantized = scale.size() == 2 && translate.size() == 2;

    // Decode every arc once: quantized arcs hold a first position and then deltas.
    std::vector<Ring> arcs;
    for (const QJsonValue &a : topology.value(QStringLiteral("arcs")).toArray()) {
        Ring arc;
        double x = 0.0, y = 0.0;
        for (const QJsonValue &v : a.toArray()) {
            const QJsonArray p = v.toArray();
            if (quantized) {
                x += p.at(0).toDouble();
                y += p.at(1).toDouble();
                arc.emplace_back(x * scale.at(0).toDouble() + translate.at(0).toDouble(),
                                 y * scale.at(1).toDouble() + translate.at(1).toDouble());
            } else {
                arc.emplace_back(p.at(0).toDouble(), p.at(1).toDouble());
            }
        }
        arcs.push_back(std::move(arc));
    }
    // A ring is a chain of arcs; index ~i stands for arc i reversed. Each arc
    // starts where the previous one ended, so that shared point is dropped.
    const auto ringFromArcs = [&](const QJsonArray &indices) {
        Ring ring;
        for (const QJsonValue &v : indices) {
            const int index = v.toInt();
            const bool reversed = index < 0;
            const size_t arcIndex = size_t(reversed ? ~index : index);
            if (arcIndex >= arcs.size())
                continue;
            Ring arc = arcs[arcIndex];
            if (reversed)
                std::reverse(arc.begin(), arc.end());
            ring.insert(ring.end(), arc.begin() + (ring.empty() ? 0 : 1), arc.end());
        }
        if (ring.size() > 1 && ring.front() == ring.back())
            ring.pop_back();
        return ring;
    };
    const auto polygonFromArcs = [&](const QJsonArray &rings) {
        Polygon polygon;
        for (const QJsonValue &r : rings)
            polygon.rings.push_back(ringFromArcs(r.toArray()));
        return polygon;
    };

    std::vector<AdminArea> provinces;
    const QJsonObject object = topology.value(QStringLiteral("objects")).toObject().value(QStringLiteral("provinces")).toObject();
    for (const QJsonValue &g : object.value(QStringLiteral("geometries")).toArray()) {
        const QJsonObject geometry = g.toObject();
        const QJsonObject properties = geometry.value(QStringLiteral("properties")).toObject();
        AdminArea area;
        area.name = properties.value(QStringLiteral("prov_name")).toString();
        area.regionName = properties.value(QStringLiteral("reg_name")).toString();
        addPolygons(area, geometry, QStringLiteral("arcs"), polygonFromArcs);
        if (!area.name.isEmpty() && !area.polygons.empty())
            provinces.push_back(std::move(area));
    }
    if (provinces.empty() && error->isEmpty())
        *error = path + QStringLiteral(": no provinces (TopoJSON object 'provinces')");
    return provinces;
}

}  // namespace ortolan::mapgen
