#include "map/SquareSites.h"

#include "data/Connection.h"
#include "data/Queries.h"
#include "map/SquareCode.h"

namespace ortolan::map::squaresites {

QStringList candidates(const QString &cursorCode, const QStringList &hitDotCodes)
{
    QStringList codes;
    const auto add = [&codes](const QString &code) {
        if (!code.isEmpty() && !codes.contains(code))
            codes << code;
    };
    add(cursorCode);
    add(SquareCode::overlapAlternative(cursorCode));
    for (const QString &code : hitDotCodes)
        add(code);
    return codes;
}

QString firstWithSites(data::Connection &connection, const QString &taxonCode, const QStringList &candidates)
{
    for (const QString &code : candidates) {
        if (connection.openRecordset(data::queries::sitesInSquare(taxonCode, code)).recordCount() > 0)
            return code;
    }
    return QString();
}

}  // namespace ortolan::map::squaresites
