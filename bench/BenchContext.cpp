#include "bench/BenchContext.h"

#include "app/Settings.h"

#include <QFileInfo>

namespace ortolan::bench {

BenchContext &BenchContext::instance()
{
    static BenchContext context;
    return context;
}

void BenchContext::use(const QString &database) const
{
    // The data folder (with the shapefile template of the exports) stays the
    // application folder's, whichever database is read.
    settings().DatabasePath = QFileInfo(database).absoluteFilePath();
}

}  // namespace ortolan::bench
