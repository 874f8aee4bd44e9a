#pragma once

#include "tools/mapgen/PolygonOps.h"

#include <QString>

#include <vector>

namespace ortolan::mapgen {

// One Italian region or province: its name, the region it belongs to and its
// polygons in WGS84 longitude/latitude (degrees).
struct AdminArea {
    QString name;
    QString regionName;
    std::vector<Polygon> polygons;
};

// Readers of the ISTAT administrative limits (redistributed by Openpolis).
class AdminAreas {
public:
    // The regions from a GeoJSON feature collection (property "reg_name").
    // Empty with *error set when the file cannot be read or has no regions.
    static std::vector<AdminArea> readRegions(const QString &path, QString *error);
    // The provinces from a TopoJSON topology with the object "provinces"
    // (properties "prov_name" and "reg_name"), its quantized arcs decoded.
    static std::vector<AdminArea> readProvinces(const QString &path, QString *error);
};

}  // namespace ortolan::mapgen
