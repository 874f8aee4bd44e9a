#include "app/Startup.h"

#include "app/AppPaths.h"
#include "app/MainWindow.h"
#include "app/Help.h"
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "browser/SpeciesWindow.h"
#include "print/OTprintSystemPrinter.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>

namespace ortolan {

namespace {

// Reads "--lang it|en" and "--db PATH" from the command line.
struct StartOptions {
    QString language = QStringLiteral("Inglese");
    QString database;
};

StartOptions parseOptions(const QStringList &args)
{
    StartOptions o;
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QStringLiteral("--lang"))
            o.language = args[i + 1] == QStringLiteral("it") ? QStringLiteral("Italiano") : QStringLiteral("Inglese");
        else if (args[i] == QStringLiteral("--db"))
            o.database = args[i + 1];
    }
    return o;
}

}  // namespace

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ortolan"));
    QApplication::setOrganizationName(QStringLiteral("Ortolan"));

    const StartOptions options = parseOptions(QApplication::arguments());
    Settings &s = settings();
    s.setLanguage(options.language);
    initialisePaths(s, QApplication::applicationDirPath());
    if (!options.database.isEmpty()) {
        const QFileInfo info(options.database);
        s.DatabasePath = info.absoluteFilePath();
        s.DataFolder = info.absolutePath() + QStringLiteral("/");
    }

    if (!prepareDatabaseFile(s.DatabasePath)) {
        showError(missingDatabaseMessage(s));
        return 1;
    }

    MainWindow frame;
    setMainWindow(&frame);
    browser::installSpeciesWindowHooks();
    // The drawing engine lays printed pages out for the system's default
    // printer; without one it keeps its description of "no printer".
    print::OTprintPrinter::install(print::OTprintSystemPrinter::create());
    QObject::connect(&frame, &MainWindow::homeRequested, &frame, [] { goHome(); });
    QObject::connect(&frame, &MainWindow::helpRequested, &frame, [] { showHelpContents(); });
    QObject::connect(&frame, &MainWindow::aboutRequested, &frame, [] { openAbout(); });
    // Without a window manager (a bare X server) maximising does nothing:
    // start with the screen's available size instead.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    openStartScreen(6);
    const int status = QApplication::exec();
    setMainWindow(nullptr);
    print::OTprintPrinter::install(nullptr);
    return status;
}

}  // namespace ortolan
