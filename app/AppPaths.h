#pragma once

#include <QString>

namespace ortolan {

struct Settings;

// Fills the path settings and the database password from the application
// folder (the folder of the program file, without a trailing separator).
// The user folder is ApplicationFolder/MyData/; when that folder cannot be
// created or written (an installed, read-only copy), a per-user writable folder
// is used instead.
void initialisePaths(Settings &s, const QString &applicationFolder);

// The help contents page of the language (Help/Ortolan.html or Help/OrtolanEng.html).
QString helpFileFor(const QString &applicationFolder, bool english);

// Start-up check of the database file: it must exist. A read-only flag is
// cleared where the user may do so; a file the user may not change still
// passes (the program only reads it). Returns false when the file is missing.
bool prepareDatabaseFile(const QString &databasePath);

// The text shown when the database is missing:
// MsgMissingFile + DatabasePath + " in " + DataFolder.
QString missingDatabaseMessage(const Settings &s);

}  // namespace ortolan
