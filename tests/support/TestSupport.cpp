#include "support/TestSupport.h"

namespace ortolan::test {

QString appDir() { return qEnvironmentVariable("ORTOLAN_APP_DIR"); }
QString sourceDir() { return qEnvironmentVariable("ORTOLAN_SOURCE_DIR"); }
QString fixturePath(const QString &relative) { return sourceDir() + QStringLiteral("/tests/fixtures/") + relative; }

}  // namespace ortolan::test
