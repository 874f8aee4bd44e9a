#include "support/TestSupport.h"

namespace ortolan::test {

QString appDir() { return qEnvironmentVariable("ORTOLAN_APP_DIR"); }
QString sourceDir() { return qEnvironmentVariable("ORTOLAN_SOURCE_DIR"); }
QString fixturePath(const QString &relative) { return sourceDir() + QStringLiteral("/tests/fixtures/") + relative; }

QStringList csvFields(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
                field += line[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

}  // namespace ortolan::test
