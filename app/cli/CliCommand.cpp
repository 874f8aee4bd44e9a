#include "app/cli/CliCommand.h"

#include "app/AppPaths.h"
#include "app/Settings.h"
#include "map/BackgroundMaps.h"

#include <cstdio>

namespace ortolan::cli {

std::vector<CliCommand> &commands()
{
    static std::vector<CliCommand> list;
    return list;
}

void out(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void err(const QString &line)
{
    const QByteArray bytes = QByteArrayLiteral("ortolan-cli: ") + line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

QString takeOption(QStringList &args, const QString &name, const QString &def, bool *missingValue)
{
    const qsizetype i = args.indexOf(name);
    if (i < 0)
        return def;
    if (i + 1 >= args.size()) {
        if (missingValue)
            *missingValue = true;
        args.removeAt(i);
        return def;
    }
    const QString value = args.at(i + 1);
    args.remove(i, 2);
    return value;
}

bool takeFlag(QStringList &args, const QString &name)
{
    return args.removeAll(name) > 0;
}

bool mapStyle(const QString &grid, const QString &background, bool *gridOn, QString *backgroundName)
{
    if (grid != QStringLiteral("on") && grid != QStringLiteral("off")) {
        err(QStringLiteral("--grid takes 'on' or 'off'"));
        return false;
    }
    if (background != QStringLiteral("hydro") && background != QStringLiteral("regions")) {
        err(QStringLiteral("--background takes 'hydro' or 'regions'"));
        return false;
    }
    *gridOn = grid == QStringLiteral("on");
    *backgroundName = background == QStringLiteral("hydro") ? map::backgrounds::Hydrography : map::backgrounds::Regions;
    return true;
}

bool requireDatabase()
{
    const Settings &s = settings();
    if (prepareDatabaseFile(s.DatabasePath))
        return true;
    err(missingDatabaseMessage(s));
    return false;
}

}  // namespace ortolan::cli
