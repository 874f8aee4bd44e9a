#pragma once

#include <QString>
#include <QStringList>

namespace ortolan::data {
class Connection;
}

// Which square's records a click on a dot opens.
namespace ortolan::map::squaresites {

// The square codes to try, in order, for a click: the code read out under the
// cursor; where zones 32 and 33 overlap on the map, the same place in the
// other zone ("T" and "Q" columns); then the codes of the dots that were hit,
// so that a dot drawn across a zone boundary still opens its own records.
// Duplicates and empty codes are left out.
QStringList candidates(const QString &cursorCode, const QStringList &hitDotCodes);

// The first candidate under which the taxon (or a taxon whose code begins with
// it) has records; empty when none has. Throws data::DataError on a database error.
QString firstWithSites(data::Connection &connection, const QString &taxonCode, const QStringList &candidates);

}  // namespace ortolan::map::squaresites
