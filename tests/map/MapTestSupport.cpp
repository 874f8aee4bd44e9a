#include "map/MapTestSupport.h"

#include "app/Settings.h"
#include "metafile/GdiTypes.h"
#include "metafile/WmfBuilder.h"

#include <QFile>
#include <QPolygon>

#include <cmath>

namespace ortolan::test {

QByteArray smallMapWmf(const QColor &landColour)
{
    metafile::test::WmfBuilder w;
    w.window(0, 0, 11000, 14600);
    w.brush(0, metafile::fromQColor(TestSea)).select(0);
    w.pen(0, 0, metafile::fromQColor(TestSea)).select(1);
    w.rectangle(0, 0, 11000, 14600);
    w.brush(0, metafile::fromQColor(landColour)).select(2);
    w.pen(0, 20, metafile::fromQColor(TestCoast)).select(3);
    // A diagonal band whose two long sides wave, 400 points in all.
    QPolygon land;
    for (int i = 0; i <= 199; ++i) {
        const double t = i / 199.0;
        land << QPoint(int(1500 + 8000 * t + 300 * std::sin(40 * t)), int(1000 + 11500 * t));
    }
    for (int i = 199; i >= 0; --i) {
        const double t = i / 199.0;
        land << QPoint(int(5000 + 4500 * t + 300 * std::cos(30 * t)), int(1000 + 12500 * t));
    }
    w.polygon(land);
    return w.bytes();
}

MapFolder::MapFolder(bool hydrography, bool regions)
{
    m_previousFolder = settings().ApplicationFolder;
    settings().ApplicationFolder = m_dir.path();
    const auto write = [this](const QString &name, const QByteArray &bytes) {
        QFile file(m_dir.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    };
    if (hydrography) {
        write(QStringLiteral("ItaliaNEW.wmf"), smallMapWmf());
        write(QStringLiteral("ItaliaNEW_BW.wmf"), smallMapWmf(Qt::white));
    }
    if (regions)
        write(QStringLiteral("ItaliaREGIONI.wmf"), smallMapWmf(QColor(200, 200, 200)));
}

MapFolder::~MapFolder() { settings().ApplicationFolder = m_previousFolder; }

}  // namespace ortolan::test
