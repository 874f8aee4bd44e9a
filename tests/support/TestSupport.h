#pragma once

#include <QString>
#include <QStringList>

namespace ortolan::test {

// The application folder of the build (bin/ with Data/, Help/, maps).
QString appDir();
// The source tree (for shipped assets and fixtures).
QString sourceDir();
// Path of a file below tests/fixtures/ in the source tree.
QString fixturePath(const QString &relative);

// The fields of one comma-separated line (RFC 4180 quoting: a quoted field
// may hold commas, and "" stands for one quote). Line breaks inside quoted
// fields are not supported: pass one line.
QStringList csvFields(const QString &line);

}  // namespace ortolan::test
