#pragma once

#include <QString>

namespace ortolan::test {

// The application folder of the build (bin/ with Data/, Help/, maps).
QString appDir();
// The source tree (for shipped assets and fixtures).
QString sourceDir();
// Path of a file below tests/fixtures/ in the source tree.
QString fixturePath(const QString &relative);

}  // namespace ortolan::test
