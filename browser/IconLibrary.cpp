#include "browser/IconLibrary.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace ortolan::browser {

QString IconLibrary::resourcePath(const QString &key)
{
    return QStringLiteral(":/icons/") + key + QStringLiteral(".svg");
}

bool IconLibrary::has(const QString &key)
{
    return !key.isEmpty() && QFile::exists(resourcePath(key));
}

QIcon IconLibrary::icon(const QString &key)
{
    static QHash<QString, QIcon> cache;
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;

    QIcon result;
    QSvgRenderer renderer(resourcePath(key));
    if (renderer.isValid()) {
        // Rendered at the sizes tree rows and toolbars use, and at twice
        // those for high-density screens.
        for (const int side : {16, 20, 24, 32, 40, 48}) {
            QPixmap pixmap(side, side);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter);
            painter.end();
            result.addPixmap(pixmap);
        }
    }
    cache.insert(key, result);
    return result;
}

}  // namespace ortolan::browser
