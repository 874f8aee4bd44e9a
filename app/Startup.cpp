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

std::unique_ptr<MainWindow> startProgram(const QStringList &arguments, const QString &applicationFolder)
{
    const StartOptions options = parseOptions(arguments);
    Settings &s = settings();
    s.setLanguage(options.language);
    initialisePaths(s, applicationFolder);
    if (!options.database.isEmpty()) {
        const QFileInfo info(options.database);
        s.DatabasePath = info.absoluteFilePath();
        s.DataFolder = info.absolutePath() + QStringLiteral("/");
    }

    if (!prepareDatabaseFile(s.DatabasePath)) {
        showError(missingDatabaseMessage(s));
        return nullptr;
    }

    auto frame = std::make_unique<MainWindow>();
    setMainWindow(frame.get());
    browser::installSpeciesWindowHooks();
    // The drawing engine lays printed pages out for the system's default
    // printer; without one it keeps its description of "no printer".
    print::OTprintPrinter::install(print::OTprintSystemPrinter::create());
    MainWindow *f = frame.get();
    QObject::connect(f, &MainWindow::homeRequested, f, [] { goHome(); });
    QObject::connect(f, &MainWindow::helpRequested, f, [] { showHelpContents(); });
    QObject::connect(f, &MainWindow::aboutRequested, f, [] { openAbout(); });
    // Without a window manager (a bare X server) maximising does nothing:
    // start with the screen's available size instead.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        frame->setGeometry(screen->availableGeometry());
    frame->showMaximized();
    openStartScreen(6);
    return frame;
}

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ortolan"));
    QApplication::setOrganizationName(QStringLiteral("Ortolan"));

    std::unique_ptr<MainWindow> frame = startProgram(QApplication::arguments(), QApplication::applicationDirPath());
    if (!frame)
        return 1;
    const int status = QApplication::exec();
    // The system's printer goes before the application object it needs.
    print::OTprintPrinter::install(nullptr);
    return status;
}

}  // namespace ortolan
