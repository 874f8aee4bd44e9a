#pragma once

namespace ortolan {

// Runs the windowed program: fixes the language (--lang it|en, default English),
// builds the paths from the application folder, checks the database, shows the
// main frame and opens the first window. Returns the process exit status.
int runApplication(int argc, char **argv);

}  // namespace ortolan
