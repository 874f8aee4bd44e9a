#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace ortolan {

class MainWindow;

// Runs the windowed program: fixes the language (--lang it|en, default English),
// builds the paths from the application folder, checks the database, shows the
// main frame and opens the first window. Returns the process exit status.
int runApplication(int argc, char **argv);

// Everything runApplication does once the application object exists: the
// language and database options of the arguments, the paths below the
// application folder, the database check, the main frame and the start screen.
// Returns the shown frame (registered as mainWindow()), or null after showing
// MsgMissingFile when the database is missing. The end-to-end tests start the
// program through this on their own application object.
std::unique_ptr<MainWindow> startProgram(const QStringList &arguments, const QString &applicationFolder);

}  // namespace ortolan
