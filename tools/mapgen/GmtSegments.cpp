#include "tools/mapgen/GmtSegments.h"

#include <QFile>

namespace ortolan::mapgen {

std::vector<Ring> GmtSegments::read(const QString &path, QString *error)
{
    std::vector<Ring> segments;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("missing GMT dump ") + path + QStringLiteral(" (run tools/mapgen/generate.sh)");
        return segments;
    }
    Ring current;
    const auto flush = [&] {
        if (current.size() >= 2)
            segments.push_back(std::move(current));
        current.clear();
    };
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('>')) {
            flush();
            continue;
        }
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool okLon = false;
        bool okLat = false;
        const double lon = fields.value(0).toDouble(&okLon);
        const double lat = fields.value(1).toDouble(&okLat);
        if (!okLon || !okLat) {
            *error = path + QStringLiteral(":") + QString::number(lineNumber) + QStringLiteral(": not a lon lat pair");
            return {};
        }
        current.emplace_back(lon, lat);
    }
    flush();
    if (segments.empty())
        *error = path + QStringLiteral(": no segments");
    return segments;
}

QString GeoBox::gmtRegion() const
{
    return QString::number(west) + QLatin1Char('/') + QString::number(east) + QLatin1Char('/')
           + QString::number(south) + QLatin1Char('/') + QString::number(north);
}

}  // namespace ortolan::mapgen
