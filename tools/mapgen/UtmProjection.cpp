#include "tools/mapgen/UtmProjection.h"

#include <proj.h>

namespace ortolan::mapgen {

namespace {

QByteArray epsg(int zone) { return "EPSG:326" + QByteArray::number(zone); }

}  // namespace

UtmProjection::UtmProjection()
{
    m_context = proj_context_create();
    for (int zone : {32, 33, 34}) {
        PJ *raw = proj_create_crs_to_crs(m_context, "EPSG:4326", epsg(zone).constData(), nullptr);
        // Longitude first, whatever the axis order of EPSG:4326.
        PJ *normalised = raw ? proj_normalize_for_visualization(m_context, raw) : nullptr;
        proj_destroy(raw);
        if (!normalised) {
            m_error = QStringLiteral("PROJ cannot build WGS84 -> ") + QString::fromLatin1(epsg(zone))
                      + QStringLiteral(": ") + QString::fromUtf8(proj_context_errno_string(m_context, proj_context_errno(m_context)));
            return;
        }
        m_toUtm[zone] = normalised;
    }
}

UtmProjection::~UtmProjection()
{
    for (auto &[zone, pj] : m_toUtm)
        proj_destroy(pj);
    proj_context_destroy(m_context);
}

QPointF UtmProjection::toUtm(int zone, QPointF lonLat) const
{
    const auto it = m_toUtm.find(zone);
    if (it == m_toUtm.end())
        return QPointF(qQNaN(), qQNaN());
    const PJ_COORD c = proj_trans(it->second, PJ_FWD, proj_coord(lonLat.x(), lonLat.y(), 0, 0));
    return QPointF(c.xy.x, c.xy.y);
}

QPointF UtmProjection::toLonLat(int zone, QPointF utm) const
{
    const auto it = m_toUtm.find(zone);
    if (it == m_toUtm.end())
        return QPointF(qQNaN(), qQNaN());
    const PJ_COORD c = proj_trans(it->second, PJ_INV, proj_coord(utm.x(), utm.y(), 0, 0));
    return QPointF(c.lp.lam, c.lp.phi);
}

QString UtmProjection::esriWkt(int zone) const
{
    PJ *crs = proj_create(m_context, epsg(zone).constData());
    if (!crs)
        return QString();
    const char *wkt = proj_as_wkt(m_context, crs, PJ_WKT1_ESRI, nullptr);
    const QString text = wkt ? QString::fromUtf8(wkt) : QString();
    proj_destroy(crs);
    return text;
}

}  // namespace ortolan::mapgen
